#include "runtime/worktables/key_expression.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace rt::wt {

enum class Kind { kField, kLiteral, kUpper, kStr, kDtos, kSubstr, kConcat };
enum class Type { kText, kNumber, kLogical, kDate };

struct KeyExpression::Node {
    Kind kind = Kind::kLiteral;
    Type type = Type::kText;
    int field = -1;
    int width = 10, decimals = 0;  // Str
    int start = 1, length = -1;    // Substr (1-based start, -1 = to the end)
    std::string literal;
    std::vector<Node> args;
};

namespace {

using Node = KeyExpression::Node;

Node make(Kind kind, Type type) {
    Node n;
    n.kind = kind;
    n.type = type;
    return n;
}

struct CompileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Parser {
  public:
    Parser(std::string_view text, const Structure& structure) : s_(text), structure_(structure) {}

    Node parse() {
        Node n = key();
        skip_blanks();
        if (pos_ != s_.size()) fail("unexpected text");
        return n;
    }

  private:
    [[noreturn]] void fail(const std::string& why) {
        throw CompileError(why + " at position " + std::to_string(pos_ + 1));
    }
    void skip_blanks() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    }
    bool accept(char c) {
        skip_blanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!accept(c)) fail(std::string("'") + c + "' expected");
    }

    Node key() {
        Node first = term();
        if (!accept('+')) return first;
        Node concat = make(Kind::kConcat, Type::kText);
        concat.args.push_back(as_text(std::move(first)));
        do concat.args.push_back(as_text(term()));
        while (accept('+'));
        return concat;
    }

    // Numbers, logicals and dates joined to texts take their key form.
    Node as_text(Node n) {
        switch (n.type) {
            case Type::kText:
                return n;
            case Type::kNumber: {
                Node str = make(Kind::kStr, Type::kText);
                if (n.kind == Kind::kField) {
                    str.width = structure_[static_cast<std::size_t>(n.field)].width;
                    str.decimals = structure_[static_cast<std::size_t>(n.field)].decimals;
                }
                str.args.push_back(std::move(n));
                return str;
            }
            case Type::kDate: {
                Node dtos = make(Kind::kDtos, Type::kText);
                dtos.args.push_back(std::move(n));
                return dtos;
            }
            case Type::kLogical:
                return n;  // evaluated as "T" / "F"
        }
        return n;
    }

    int integer() {
        skip_blanks();
        std::size_t begin = pos_;
        while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        if (begin == pos_ || pos_ - begin > 4) fail("small whole number expected");
        return std::stoi(std::string(s_.substr(begin, pos_ - begin)));
    }

    Node term() {
        skip_blanks();
        if (pos_ >= s_.size()) fail("field or function expected");
        char c = s_[pos_];
        if (c == '"' || c == '\'') {
            std::size_t close = s_.find(c, pos_ + 1);
            if (close == std::string_view::npos) fail("unclosed text");
            Node lit = make(Kind::kLiteral, Type::kText);
            lit.literal = std::string(s_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            return lit;
        }
        if (c == '(') {
            ++pos_;
            Node inner = key();
            expect(')');
            return inner;
        }
        std::size_t begin = pos_;
        while (pos_ < s_.size() &&
               (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_'))
            ++pos_;
        if (begin == pos_) fail("field or function expected");
        std::string_view name = s_.substr(begin, pos_ - begin);
        if (accept('(')) return call(name);
        int position = field_position(structure_, name);
        if (position < 0) fail("unknown field " + std::string(name));
        Node f = make(Kind::kField, Type::kText);
        f.field = position;
        switch (structure_[static_cast<std::size_t>(position)].type) {
            case FieldType::kCharacter:
                f.type = Type::kText;
                break;
            case FieldType::kNumeric:
                f.type = Type::kNumber;
                break;
            case FieldType::kLogical:
                f.type = Type::kLogical;
                break;
            case FieldType::kDate:
                f.type = Type::kDate;
                break;
        }
        return f;
    }

    Node call(std::string_view name) {
        Node arg = key();
        if (same_name(name, "UPPER")) {
            if (arg.type != Type::kText) fail("Upper() needs a text");
            Node n = make(Kind::kUpper, Type::kText);
            n.args.push_back(std::move(arg));
            expect(')');
            return n;
        }
        if (same_name(name, "STR")) {
            if (arg.type != Type::kNumber) fail("Str() needs a number");
            Node n = make(Kind::kStr, Type::kText);
            if (arg.kind == Kind::kField) {
                n.width = structure_[static_cast<std::size_t>(arg.field)].width;
                n.decimals = structure_[static_cast<std::size_t>(arg.field)].decimals;
            }
            if (accept(',')) {
                n.width = integer();
                n.decimals = 0;
                if (accept(',')) n.decimals = integer();
            }
            if (n.width < 1) fail("Str() width below 1");
            n.args.push_back(std::move(arg));
            expect(')');
            return n;
        }
        if (same_name(name, "DTOS")) {
            if (arg.type != Type::kDate) fail("Dtos() needs a date");
            Node n = make(Kind::kDtos, Type::kText);
            n.args.push_back(std::move(arg));
            expect(')');
            return n;
        }
        if (same_name(name, "SUBSTR")) {
            if (arg.type != Type::kText) fail("Substr() needs a text");
            Node n = make(Kind::kSubstr, Type::kText);
            expect(',');
            n.start = integer();
            if (n.start < 1) fail("Substr() start below 1");
            if (accept(',')) n.length = integer();
            n.args.push_back(std::move(arg));
            expect(')');
            return n;
        }
        fail("unknown function " + std::string(name));
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    const Structure& structure_;
};

struct Evaluated {
    std::string text;
    double number = 0;
};

Evaluated eval(const Node& n, const std::vector<Value>& record) {
    switch (n.kind) {
        case Kind::kField: {
            const Value& v = record[static_cast<std::size_t>(n.field)];
            if (auto* s = std::get_if<std::string>(&v)) return {*s};
            if (auto* d = std::get_if<double>(&v)) return {{}, *d};
            if (auto* b = std::get_if<bool>(&v)) return {*b ? "T" : "F"};
            return {std::get<Fecha>(v).dtos()};
        }
        case Kind::kLiteral:
            return {n.literal};
        case Kind::kUpper:
            return {upper_oem(eval(n.args[0], record).text)};
        case Kind::kStr:
            return {str_number(eval(n.args[0], record).number, n.width, n.decimals)};
        case Kind::kDtos:
            return {eval(n.args[0], record).text};  // a date evaluates to its dtos() text
        case Kind::kSubstr: {
            std::string t = eval(n.args[0], record).text;
            std::size_t start = static_cast<std::size_t>(n.start - 1);
            if (start >= t.size()) return {};
            return {n.length < 0 ? t.substr(start)
                                 : t.substr(start, static_cast<std::size_t>(n.length))};
        }
        case Kind::kConcat: {
            std::string out;
            for (const Node& a : n.args) out += eval(a, record).text;
            return {out};
        }
    }
    return {};
}

}  // namespace

std::optional<KeyExpression> KeyExpression::compile(std::string_view text,
                                                    const Structure& structure,
                                                    std::string* error) {
    KeyExpression k;
    k.text_ = std::string(text);
    try {
        Parser parser(text, structure);
        Node root = parser.parse();
        if (root.type == Type::kNumber || root.type == Type::kDate) {
            // A number or date alone is keyed by its text form.
            Node wrapped = make(root.type == Type::kNumber ? Kind::kStr : Kind::kDtos, Type::kText);
            if (root.kind == Kind::kField) {
                wrapped.width = structure[static_cast<std::size_t>(root.field)].width;
                wrapped.decimals = structure[static_cast<std::size_t>(root.field)].decimals;
            }
            wrapped.args.push_back(std::move(root));
            root = std::move(wrapped);
        }
        k.root_ = std::make_shared<const Node>(std::move(root));
    } catch (const CompileError& e) {
        if (error) *error = e.what();
        return std::nullopt;
    }
    return k;
}

std::string KeyExpression::evaluate(const std::vector<Value>& record) const {
    return eval(*root_, record).text;
}

std::string upper_oem(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - 32);
        else
            switch (c) {
                case 0xA0:
                    c = 0xB5;
                    break;  // á
                case 0x82:
                    c = 0x90;
                    break;  // é
                case 0xA1:
                    c = 0xD6;
                    break;  // í
                case 0xA2:
                    c = 0xE0;
                    break;  // ó
                case 0xA3:
                    c = 0xE9;
                    break;  // ú
                case 0x81:
                    c = 0x9A;
                    break;  // ü
                case 0xA4:
                    c = 0xA5;
                    break;  // ñ
                default:
                    break;
            }
        ch = static_cast<char>(c);
    }
    return out;
}

std::string str_number(double value, int width, int decimals) {
    if (!std::isfinite(value)) return std::string(static_cast<std::size_t>(width), '*');
    char buf[64];
    double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0) rounded = 0.0;  // no "-0"
    int n = std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, rounded);
    if (n < 0 || n > width) return std::string(static_cast<std::size_t>(width), '*');
    return buf;
}

}  // namespace rt::wt
