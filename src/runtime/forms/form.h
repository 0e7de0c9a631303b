#pragma once
// Data-entry forms: fields bound to the calling operation's variables, declared in screen
// order, each shown at a position through an edit mask and checked when the user leaves it.
//
//   rt::Form form;
//   form.field(4, 9, fecha, "dxFecha", "", [&] { return !fecha.empty(); });
//   form.field(5, 12, producto, "cxProducto", "@!", valida_producto);
//   form.field(9, 23, codigo, "cxCodigo", "@!", {}, [&] { return nuevo; });  // skipped unless new
//   bool changed = form.read("EDIT_PRODUCTOS");
//   if (rt::con().last_key() == rt::key::kEsc) ...
//
// The last key after read() is the key that ended the form: Esc (27), Enter on the last
// field (13), PgDn, PgUp or Ctrl+W (3, 18, 23). Key handlers installed on the console run
// while a field waits for a key, with the operation's name, the line and the field's name
// in upper case; a help list hands its choice back by putting the keys Home, the code and
// Enter into the keyboard buffer.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/edit_buffer.h"
#include "runtime/forms/value.h"

namespace rt {

// A validation (called on leaving a field: true accepts) or a condition (called before a
// field is entered: false skips it).
using FieldCheck = std::function<bool()>;

class Form {
  public:
    // Declares the next field and shows it at once with the variable's value in the
    // unselected colour, leaving the cursor after it. The mask may be empty.
    Form& field(int row, int col, Binding variable, std::string_view name,
                std::string_view mask = {}, FieldCheck valid = {}, FieldCheck when = {});

    // Runs the form and returns the updated flag (some field changed its variable). The
    // fields stay declared until clear(); the cursor ends at (34, 0) with its shape as it
    // was, and con().last_key() is the key that ended the form.
    bool read(std::string_view proc = {}, int line = 0);
    // The same, starting on field `first` (or the next field that can be entered after it).
    bool read_from(std::size_t first, std::string_view proc = {}, int line = 0);

    // Runs the form until it ends with Esc, or with every field accepted by its validation.
    // A form ended early (PgDn on the first field, say) leaves the fields after it unchecked,
    // and a later field may make an earlier one wrong (a quantity lowered below another):
    // such a form is run again from the first field its validation refuses, so what the
    // caller gets is whole. Returns the updated flag of all the runs.
    bool read_checked(std::string_view proc = {}, int line = 0);

    // The index of the first field that can be entered and whose validation refuses its
    // variable as it stands (the validation shows its own message), or -1.
    int first_refused() const;

    void clear() { fields_.clear(); }
    std::size_t size() const { return fields_.size(); }
    bool updated() const { return updated_; }

  private:
    struct Field {
        int row, col;
        Binding variable;
        std::string name;
        std::string mask;
        FieldCheck valid, when;
    };
    enum class Move { kStay, kPrevious, kNext, kNextOrEnd, kFirst, kEnd, kAbandon };

    Move edit(Field& f, std::string_view proc, int line, int wait_shape);
    bool leave(Field& f, EditBuffer& buffer);
    void store(Field& f, const EditBuffer& buffer);
    bool enterable(std::size_t index) const;
    // The index of the field a move leads to from `from`, or -1 when the form ends.
    int destination(std::size_t from, Move move) const;
    static void show(const Field& f, std::string_view text, bool current);
    static void show_value(const Field& f);

    std::vector<Field> fields_;
    bool updated_ = false;
    bool insert_ = false;
    int end_key_ = 0;
};

}  // namespace rt
