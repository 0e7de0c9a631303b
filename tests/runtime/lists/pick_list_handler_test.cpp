// The pick list as an item editor: the handler routine's modes and answers, key handlers
// of the console, and handlers that change the list under it.
#include <gtest/gtest.h>

#include <functional>

#include "pick_list_support.h"
#include "runtime/lists/pick_list.h"

namespace {

using namespace rt::key;
using lists_test::numbered_items;
using lists_test::PickListTest;

struct Call {
    int mode, current, row, key;
    bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Call& c) {
    return out << "{mode " << c.mode << ", item " << c.current << ", row " << c.row << ", key "
               << c.key << "}";
}

class PickHandlerTest : public PickListTest {
  protected:
    // A handler routine that records its calls and answers through `decide` (default: go on,
    // Enter chooses, Esc ends).
    rt::PickHandler recorder(std::function<int(const Call&)> decide = {}) {
        return [this, decide](int mode, int current, int row) {
            Call call{mode, current, row, console.last_key()};
            calls.push_back(call);
            if (decide) return decide(call);
            if (call.key == kEnter) return rt::pick::kSelect;
            if (call.key == kEsc) return rt::pick::kAbort;
            return rt::pick::kContinue;
        };
    }
    std::vector<Call> calls;
    std::vector<cp::Oem> items = numbered_items(30);
};

TEST_F(PickHandlerTest, ModesOfTheMovementKeys) {
    const struct {
        const char* what;
        int first_item, first_row, key;
        Call expected;
    } cases[] = {
        {"Down", 1, 0, kDown, {0, 2, 1, kDown}},
        {"Down on the last item does not move", 30, 9, kDown, {2, 30, 9, kDown}},
        {"Up on the first item", 1, 0, kUp, {1, 1, 0, kUp}},
        {"Up", 5, 4, kUp, {0, 4, 3, kUp}},
        {"PgUp on the first item", 1, 0, kPgUp, {1, 1, 0, kPgUp}},
        {"PgUp to the first item", 5, 4, kPgUp, {0, 1, 0, kPgUp}},
        {"PgDn", 1, 0, kPgDn, {0, 10, 0, kPgDn}},
        {"PgDn on the last item", 30, 9, kPgDn, {2, 30, 9, kPgDn}},
        {"Ctrl+PgUp when already there", 1, 0, kCtrlPgUp, {1, 1, 0, kCtrlPgUp}},
        {"Ctrl+PgUp", 12, 5, kCtrlPgUp, {0, 1, 0, kCtrlPgUp}},
        {"Ctrl+PgDn", 1, 0, kCtrlPgDn, {0, 30, 9, kCtrlPgDn}},
        {"Ctrl+PgDn when already there", 30, 9, kCtrlPgDn, {2, 30, 9, kCtrlPgDn}},
        {"Ctrl+Home on the first item", 1, 0, kCtrlHome, {1, 1, 0, kCtrlHome}},
        {"Ctrl+Home", 15, 5, kCtrlHome, {0, 10, 0, kCtrlHome}},
        {"Ctrl+End", 15, 5, kCtrlEnd, {0, 19, 9, kCtrlEnd}},
        {"Ctrl+End on the last item", 30, 9, kCtrlEnd, {2, 30, 9, kCtrlEnd}},
    };
    for (const auto& c : cases) {
        calls.clear();
        term.keys({c.key, kEsc});
        EXPECT_EQ(
            run(items,
                {.handler = recorder(), .first_item = c.first_item, .first_row = c.first_row}),
            0)
            << c.what;
        ASSERT_EQ(calls.size(), 2u) << c.what;
        EXPECT_EQ(calls[0], c.expected) << c.what;
        EXPECT_EQ(calls[1].mode, rt::pick::kException) << c.what;
    }
}

TEST_F(PickHandlerTest, KeysTheListDoesNotHandleAreExceptions) {
    const int keys[] = {kEsc, kEnter, kLeft, kRight, kHome, kEnd, 'a', kF2, kF8, kDel, kIns};
    for (int key : keys) {
        calls.clear();
        term.keys({key, kF10});
        EXPECT_EQ(run(items, {.handler = recorder([](const Call& c) {
                                  return c.key == kF10 ? rt::pick::kAbort : rt::pick::kContinue;
                              }),
                              .first_item = 3}),
                  0);
        ASSERT_EQ(calls.size(), 2u) << key;
        EXPECT_EQ(calls[0], (Call{3, 3, 0, key})) << "letters do not search by themselves";
    }
}

TEST_F(PickHandlerTest, EscGoesToTheHandlerAndTheListGoesOnWhenItAnswersTwo) {
    term.keys({kEsc, kDown, kEnter});
    EXPECT_EQ(run(items, {.handler = recorder([](const Call& c) {
                              return c.key == kEnter ? rt::pick::kSelect : rt::pick::kContinue;
                          })}),
              2);
    EXPECT_EQ(calls, (std::vector<Call>{{3, 1, 0, kEsc}, {0, 2, 1, kDown}, {3, 2, 1, kEnter}}));
}

TEST_F(PickHandlerTest, AnswersOfTheHandler) {
    const struct {
        const char* what;
        int answer_to_f2;
        int result;
        std::size_t calls;
    } cases[] = {
        {"0 ends with 0", 0, 0, 1},
        {"1 ends with the current item", 1, 4, 1},
        {"2 goes on", 2, 0, 2},
        {"4 goes on too", 4, 0, 2},
        {"an unknown answer goes on", 7, 0, 2},
        {"a negative answer goes on", -1, 0, 2},
    };
    for (const auto& c : cases) {
        calls.clear();
        term.keys({kF2});
        if (c.calls > 1) term.keys({kEsc});
        EXPECT_EQ(run(items, {.handler = recorder([&](const Call& call) {
                                  return call.key == kF2 ? c.answer_to_f2 : rt::pick::kAbort;
                              }),
                              .first_item = 4}),
                  c.result)
            << c.what;
        EXPECT_EQ(calls.size(), c.calls) << c.what;
        EXPECT_TRUE(term.script_empty()) << c.what;
    }
}

TEST_F(PickHandlerTest, AnswerThreeSearchesTheLastKeyAsALetterThenCallsAgainInModeZero) {
    items[14] = "Zeta";
    term.keys({'z', kEsc});
    EXPECT_EQ(run(items, {.handler = recorder([](const Call& c) {
                              if (c.key == kEsc) return rt::pick::kAbort;
                              return c.mode == 3 ? rt::pick::kLetterSearch : rt::pick::kContinue;
                          })}),
              0);
    EXPECT_EQ(calls, (std::vector<Call>{{3, 1, 0, 'z'}, {0, 15, 9, 'z'}, {3, 15, 9, kEsc}}));
}

TEST_F(PickHandlerTest, AnswerThreeAfterTheSearchGoesOnInsteadOfSearchingForEver) {
    items[4] = "Zeta";
    items[19] = "Zulu";
    term.keys({'z', kEsc});
    EXPECT_EQ(run(items, {.handler = recorder([](const Call& c) {
                              return c.key == kEsc ? rt::pick::kAbort : rt::pick::kLetterSearch;
                          })}),
              0);
    EXPECT_EQ(calls, (std::vector<Call>{{3, 1, 0, 'z'}, {0, 5, 4, 'z'}, {3, 5, 4, kEsc}}));
}

TEST_F(PickHandlerTest, NeverCalledBeforeTheFirstKey) {
    term.keys({kDown});
    EXPECT_THROW(run(items, {.handler = recorder()}), rt::ScriptExhausted);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(term.waits(), 2);
}

TEST_F(PickHandlerTest, EmptyOrUnselectableListCallsTheHandlerOnceInModeFour) {
    const std::vector<cp::Oem> none;
    // Whatever the handler answers, the list ends with 0 without waiting for a key.
    for (int answer : {0, 1, 2, 3}) {
        calls.clear();
        EXPECT_EQ(run(none, {.handler = recorder([&](const Call&) { return answer; })}), 0);
        EXPECT_EQ(calls, (std::vector<Call>{{4, 0, 0, 0}}));
    }
    calls.clear();
    EXPECT_EQ(run(items, {.selectable = [](int) { return false; }, .handler = recorder()}), 0);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(term.waits(), 0);
}

TEST_F(PickHandlerTest, HandlerThatShortensTheList) {
    // F2 cuts the list to five items while item 25 is current.
    term.keys({kF2, kEsc});
    EXPECT_EQ(run(items, {.handler = recorder([&](const Call& c) {
                              if (c.key == kF2) items.resize(5);
                              return c.key == kEsc ? rt::pick::kAbort : rt::pick::kContinue;
                          }),
                          .first_item = 25,
                          .first_row = 4}),
              0);
    EXPECT_EQ(calls.back(), (Call{3, 5, 4, kEsc}));
    for (int r = 0; r < 5; ++r) EXPECT_EQ(seen_item(r), items[r].str());
    for (int r = 5; r < 10; ++r) EXPECT_EQ(seen_item(r), "");
    EXPECT_EQ(seen_highlight(), 4);
}

TEST_F(PickHandlerTest, HandlerThatSplitsAnItemSeesTheLongerList) {
    // Like the voucher item split: a copy inserted at the current item, the list goes on.
    term.keys({kDown, kF2, kCtrlPgDn, kEnter});
    EXPECT_EQ(run(items, {.handler = recorder([&](const Call& c) {
                              if (c.key == kF2)
                                  items.insert(items.begin() + c.current - 1, cp::Oem("Copia"));
                              return c.key == kEnter ? rt::pick::kSelect : rt::pick::kContinue;
                          })}),
              31);
    EXPECT_EQ(seen_item(9), "Actividad 30");
}

TEST_F(PickHandlerTest, HandlerThatEmptiesTheListEndsItThroughModeFour) {
    term.keys({kDel});
    EXPECT_EQ(run(items, {.handler = recorder([&](const Call& c) {
                              if (c.key == kDel) items.clear();
                              return c.mode == 4 ? rt::pick::kSelect : rt::pick::kContinue;
                          })}),
              0);
    EXPECT_EQ(calls, (std::vector<Call>{{3, 1, 0, kDel}, {4, 0, 0, kDel}}));
    EXPECT_EQ(seen_item(0), "Actividad 01");  // the window was shown before the key
    EXPECT_EQ(row_text(kWinTop, kWinLeft, kWinWidth), std::string(kWinWidth, ' '));
}

TEST_F(PickHandlerTest, HandlerThatEndsWithTheCurrentItemAfterShorteningGetsAValidItem) {
    term.keys({kEnter});
    EXPECT_EQ(run(items, {.handler = recorder([&](const Call&) {
                              items.resize(3);
                              return rt::pick::kSelect;
                          }),
                          .first_item = 20}),
              3);
}

TEST_F(PickHandlerTest, ConsoleKeyHandlerRunsInsteadOfTheKeyAndLeavesTheRedrawKey) {
    std::vector<std::string> seen_by_key_handler;
    console.set_key_handler(kF1, [&](const std::string& proc, int, const std::string& var) {
        seen_by_key_handler = {proc, var};
        items[0] = "Cambiada";
    });
    console.set_key_handler(kUp, [&](const std::string&, int, const std::string&) {});
    term.keys({kF1, kDown, kUp, kEsc});
    EXPECT_EQ(run(items, {.handler = recorder(), .proc = "VALES_INGRESO_ON_LINE"}), 0);
    EXPECT_EQ(seen_by_key_handler, (std::vector<std::string>{"VALES_INGRESO_ON_LINE", ""}));
    EXPECT_EQ(calls, (std::vector<Call>{{0, 1, 0, kRedraw},
                                        {0, 2, 1, kDown},
                                        {0, 2, 1, kRedraw},  // Up had a handler: no move
                                        {3, 2, 1, kEsc}}));
    EXPECT_EQ(seen_item(0), "Cambiada");
}

TEST_F(PickHandlerTest, KeysLeftByAKeyHandlerStayQueued) {
    // A help list hands its choice back as keys; the list reads them next.
    console.set_key_handler(kF1, [&](const std::string&, int, const std::string&) {
        console.put_keys(std::vector<int>{kDown, kDown});
    });
    term.keys({kF1, kEsc});
    EXPECT_EQ(run(items, {.handler = recorder()}), 0);
    EXPECT_EQ(calls, (std::vector<Call>{
                         {0, 1, 0, kRedraw}, {0, 2, 1, kDown}, {0, 3, 2, kDown}, {3, 3, 2, kEsc}}));
}

TEST_F(PickHandlerTest, KeyHandlerWithoutHandlerRoutineRedrawsAndGoesOn) {
    console.set_key_handler(
        kF1, [&](const std::string&, int, const std::string&) { items.erase(items.begin()); });
    term.keys({kF1, kEnter});
    EXPECT_EQ(run(items, {.first_item = 30}), 29);
    EXPECT_EQ(console.last_key(), kEnter);
    EXPECT_EQ(seen_item(9), "Actividad 30");
}

TEST_F(PickHandlerTest, NestedListInsideTheHandler) {
    // The voucher editor opens the list of especificaciones from its handler.
    const std::vector<cp::Oem> specs = cp::oem_list({"Fina", "Gruesa", "Media"});
    int chosen_spec = 0;
    term.keys({kEnter, 'm', kEnter, kEsc});
    EXPECT_EQ(run(items, {.handler = recorder([&](const Call& c) {
                              if (c.key == kEnter)
                                  chosen_spec = rt::pick_list(20, 50, 27, 70, specs);
                              return c.key == kEsc ? rt::pick::kAbort : rt::pick::kContinue;
                          })}),
              0);
    EXPECT_EQ(chosen_spec, 3);
}

}  // namespace
