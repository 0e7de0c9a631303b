#pragma once
// The supervisor job that records opening stock balances: for every product (from the
// ninth warehouse of the list on) and every component (in every warehouse), a movement
// that makes the sum of the recorded movements equal to the stock on hand.

namespace abm {

// Asks for each part (products, components) before running it. The movements of one part
// are written as one transaction: a part that fails or is interrupted leaves nothing of it
// behind and can simply be run again; a part run again finds its movements already there.
void SALDOS_ANTERIORES();

}  // namespace abm
