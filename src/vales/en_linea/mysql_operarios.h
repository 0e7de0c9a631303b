#pragma once
// The operator help list of the on-line entry: the active operators read from the server,
// in name order, searchable by the beginning of the name (Enter) or by words anywhere in
// the name or tax number (F8). Searches find inactive operators too; the form the number
// is typed into refuses them.
namespace vales {

// With `elegir`, Enter on an operator (while the search text is empty or already searched)
// types Home, the operator's number and Enter into the keyboard buffer and leaves the list.
void MYSQL_OPERARIOS(bool elegir = false);

}  // namespace vales
