#include "FormText.h"

#include <algorithm>
#include <limits>

namespace qs {

EFormError::EFormError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), FLine(line), FDetail(message) {}

namespace {

// Deeper nesting than this is not a form anyone wrote; refusing it keeps a
// hostile definition from exhausting the stack.
constexpr int kMaxDepth = 200;

bool isIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isIdentChar(char c) { return isIdentStart(c) || (c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
bool sameWord(std::string_view a, std::string_view b) { return TClassBuilder<TObject>::equalsNoCase(a, b); }

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string describe(char c) {
    if (c >= 0x21 && c < 0x7F) return std::string("'") + c + "'";
    static const char* hex = "0123456789ABCDEF";
    return std::string("character $") + hex[(unsigned char)c >> 4] + hex[c & 15];
}

class TParser {
public:
    explicit TParser(std::string_view text) : s(text) {
        if (s.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    }

    TFormObject parseRoot() {
        skipSpace();
        if (atEnd()) throw EFormError(line, "the definition is empty");
        TFormObject root = parseObject(0);
        skipSpace();
        if (!atEnd()) throw EFormError(line, "unexpected text after the final 'end'");
        return root;
    }

private:
    std::string_view s;
    size_t pos = 0;
    int line = 1;

    bool atEnd() const { return pos >= s.size(); }
    char peek(size_t ahead = 0) const { return pos + ahead < s.size() ? s[pos + ahead] : '\0'; }
    void advance() {
        if (s[pos] == '\n') ++line;
        ++pos;
    }
    void skipSpace() {
        while (!atEnd() && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\r' || s[pos] == '\n')) advance();
    }

    std::string unexpected() const {
        return atEnd() ? std::string("the definition ends") : describe(s[pos]) + " is not expected";
    }

    std::string readWord() {
        size_t start = pos;
        while (!atEnd() && isIdentChar(s[pos])) ++pos;
        return std::string(s.substr(start, pos - start));
    }

    // Identifier or dotted path (Font.Name); every segment must be an identifier.
    std::string readPath() {
        std::string p = readWord();
        while (peek() == '.') {
            ++pos;
            if (!isIdentStart(peek())) throw EFormError(line, "property path '" + p + ".' is incomplete");
            p += '.';
            p += readWord();
        }
        return p;
    }

    TFormObject parseObject(int depth) {
        if (depth > kMaxDepth) throw EFormError(line, "objects are nested too deeply");
        TFormObject obj;
        obj.line = line;
        if (!isIdentStart(peek()) || !sameWord(readWord(), "object"))
            throw EFormError(obj.line, "expected 'object'");
        skipInline();
        if (!isIdentStart(peek())) throw EFormError(line, "expected a component name after 'object'");
        std::string first = readWord();
        skipInline();
        if (peek() == ':') {
            ++pos;
            skipInline();
            if (!isIdentStart(peek())) throw EFormError(line, "expected a class name after '" + first + ":'");
            obj.name = first;
            obj.className = readWord();
        } else {
            obj.className = first;  // an unnamed component: "object TTimer"
        }
        skipInline();
        if (!atEnd() && s[pos] != '\n' && s[pos] != '\r')
            throw EFormError(line, unexpected() + " after the class name");
        for (;;) {
            skipSpace();
            if (atEnd()) {
                std::string what = obj.name.empty() ? obj.className : obj.name;
                throw EFormError(obj.line, "object '" + what + "' has no 'end'");
            }
            if (!isIdentStart(s[pos])) throw EFormError(line, "expected a property, 'object' or 'end': " + unexpected());
            size_t save = pos;
            std::string word = readWord();
            if (sameWord(word, "end") && peek() != '.') {
                requireLineEnd("'end'");
                return obj;
            }
            if (sameWord(word, "object") && peek() != '.') {
                pos = save;
                obj.children.push_back(parseObject(depth + 1));
                continue;
            }
            pos = save;
            obj.props.push_back(parseProperty(depth));
        }
    }

    // After a keyword that closes something, only the end of the line may follow.
    void requireLineEnd(const char* after, bool inCollection = false) {
        skipInline();
        if (!atEnd() && s[pos] != '\n' && s[pos] != '\r' && !(inCollection && (s[pos] == '>' || isIdentStart(s[pos]))))
            throw EFormError(line, unexpected() + " after " + after);
    }
    void skipInline() {
        while (!atEnd() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
    }

    // Collection items may be written on one line: "< item Width = 40 end >".
    TFormProperty parseProperty(int depth, bool inItem = false) {
        TFormProperty p;
        p.line = line;
        p.path = readPath();
        skipInline();
        if (peek() != '=') throw EFormError(line, "expected '=' after '" + p.path + "'");
        ++pos;
        skipSpace();
        p.value = parseValue(depth);
        // One property per line: anything else here is a malformed value.
        skipInline();
        if (!atEnd() && s[pos] != '\n' && s[pos] != '\r' && !(inItem && isIdentStart(s[pos])))
            throw EFormError(line, "malformed value of '" + p.path + "': " + unexpected());
        return p;
    }

    TFormValue parseValue(int depth) {
        TFormValue v;
        v.line = line;
        char c = peek();
        if (c == '\'' || c == '#') {
            v.kind = TFormValue::TKind::String;
            v.text = parseString();
        } else if (c == '-' || c == '$' || isDigit(c)) {
            v.kind = TFormValue::TKind::Integer;
            v.integer = parseInteger();
        } else if (isIdentStart(c)) {
            v.kind = TFormValue::TKind::Ident;
            v.text = readPath();
        } else if (c == '[') {
            v.kind = TFormValue::TKind::Set;
            parseSet(v);
        } else if (c == '{') {
            v.kind = TFormValue::TKind::Binary;
            parseBinary(v);
        } else if (c == '(') {
            v.kind = TFormValue::TKind::StringList;
            parseList(v);
        } else if (c == '<') {
            v.kind = TFormValue::TKind::Collection;
            parseCollection(v, depth);
        } else {
            throw EFormError(line, "expected a value: " + unexpected());
        }
        return v;
    }

    int64_t parseInteger() {
        int startLine = line;
        size_t start = pos;
        bool negative = false;
        if (peek() == '-') {
            negative = true;
            ++pos;
        }
        uint64_t magnitude = 0;
        bool overflow = false;
        int digits = 0;
        if (peek() == '$') {
            ++pos;
            for (int h; (h = hexValue(peek())) >= 0; ++pos, ++digits) {
                if (magnitude >> 60) overflow = true;
                magnitude = magnitude * 16 + uint64_t(h);
            }
        } else {
            for (; isDigit(peek()); ++pos, ++digits) {
                uint64_t d = uint64_t(peek() - '0');
                if (magnitude > (std::numeric_limits<uint64_t>::max() - d) / 10) overflow = true;
                magnitude = magnitude * 10 + d;
            }
        }
        // "12px", "1.5", "$" and "-" alone are not integers.
        if (digits == 0 || isIdentChar(peek()) || peek() == '.') {
            while (!atEnd() && (isIdentChar(s[pos]) || s[pos] == '.' || s[pos] == '$' || s[pos] == '-')) ++pos;
            throw EFormError(startLine, "malformed number '" + std::string(s.substr(start, pos - start)) + "'");
        }
        uint64_t limit = negative ? uint64_t(1) << 63 : uint64_t(std::numeric_limits<int64_t>::max());
        if (overflow || magnitude > limit)
            throw EFormError(startLine, "number '" + std::string(s.substr(start, pos - start)) + "' is out of range");
        return negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    }

    // 'text', #code and #$hex pieces, adjacent or joined with '+' (also across lines).
    std::string parseString() {
        std::string out;
        bool lastWasHigh = false;  // a #code high surrogate just appended (3 bytes)
        uint32_t high = 0;
        for (;;) {
            if (peek() == '\'') {
                int startLine = line;
                ++pos;
                for (;;) {
                    if (atEnd() || s[pos] == '\n' || s[pos] == '\r')
                        throw EFormError(startLine, "string not closed on its line");
                    if (s[pos] == '\'') {
                        if (peek(1) == '\'') {
                            out += '\'';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        break;
                    }
                    out += s[pos++];
                }
                lastWasHigh = false;
            } else if (peek() == '#') {
                ++pos;
                uint64_t cp = 0;
                int digits = 0;
                bool hex = peek() == '$';
                if (hex) ++pos;
                for (;; ++pos, ++digits) {
                    int d = hex ? hexValue(peek()) : (isDigit(peek()) ? peek() - '0' : -1);
                    if (d < 0) break;
                    cp = std::min<uint64_t>(cp * (hex ? 16 : 10) + uint64_t(d), 0x110000);
                }
                if (digits == 0) throw EFormError(line, "'#' must be followed by a character code");
                if (cp > 0x10FFFF) throw EFormError(line, "character code is out of range");
                // A UTF-16 pair written as two codes becomes one character.
                if (cp >= 0xDC00 && cp <= 0xDFFF && lastWasHigh) {
                    out.resize(out.size() - 3);
                    appendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (uint32_t(cp) - 0xDC00));
                    lastWasHigh = false;
                } else {
                    appendUtf8(out, uint32_t(cp));
                    lastWasHigh = cp >= 0xD800 && cp <= 0xDBFF;
                    high = uint32_t(cp);
                }
            } else {
                break;
            }
            // Continue with an adjacent piece, or one after '+'.
            if (peek() == '\'' || peek() == '#') continue;
            size_t savePos = pos;
            int saveLine = line;
            skipSpace();
            if (peek() == '+') {
                ++pos;
                skipSpace();
                if (peek() != '\'' && peek() != '#') throw EFormError(line, "expected a string after '+'");
                continue;
            }
            pos = savePos;
            line = saveLine;
            break;
        }
        return out;
    }

    void parseSet(TFormValue& v) {
        ++pos;  // [
        skipSpace();
        if (peek() == ']') {
            ++pos;
            return;
        }
        for (;;) {
            if (!isIdentStart(peek())) throw EFormError(line, "expected a set member: " + unexpected());
            v.list.push_back(readWord());
            int memberLine = line;
            skipSpace();
            if (peek() == ',') {
                ++pos;
                skipSpace();
                continue;
            }
            if (peek() == ']') {
                ++pos;
                return;
            }
            // Most often the ']' was forgotten and the next line's text follows.
            if (atEnd() || line != memberLine) throw EFormError(v.line, "set not closed with ']'");
            throw EFormError(line, "expected ',' or ']' in a set: " + unexpected());
        }
    }

    void parseBinary(TFormValue& v) {
        ++pos;  // {
        int lastDigitLine = line;
        int hi = -1;
        for (;;) {
            if (atEnd()) throw EFormError(v.line, "binary value not closed with '}'");
            char c = s[pos];
            if (c == '}') {
                ++pos;
                break;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                advance();
                continue;
            }
            int h = hexValue(c);
            if (h < 0) throw EFormError(line, describe(c) + " is not a hex digit in a binary value");
            lastDigitLine = line;
            if (hi < 0) {
                hi = h;
            } else {
                v.bytes.push_back(uint8_t(hi * 16 + h));
                hi = -1;
            }
            ++pos;
        }
        if (hi >= 0) throw EFormError(lastDigitLine, "binary value has an odd number of hex digits");
    }

    void parseList(TFormValue& v) {
        ++pos;  // (
        for (;;) {
            skipSpace();
            if (atEnd()) throw EFormError(v.line, "string list not closed with ')'");
            if (peek() == ')') {
                ++pos;
                return;
            }
            if (peek() != '\'' && peek() != '#')
                throw EFormError(line, "a string list holds only strings: " + unexpected());
            v.list.push_back(parseString());
        }
    }

    void parseCollection(TFormValue& v, int depth) {
        if (depth > kMaxDepth) throw EFormError(line, "collections are nested too deeply");
        ++pos;  // <
        for (;;) {
            skipSpace();
            if (atEnd()) throw EFormError(v.line, "collection not closed with '>'");
            if (peek() == '>') {
                ++pos;
                return;
            }
            TFormItem item;
            item.line = line;
            if (!isIdentStart(peek()) || !sameWord(readWord(), "item"))
                throw EFormError(item.line, "expected 'item' or '>' in a collection");
            for (;;) {
                skipSpace();
                if (atEnd()) throw EFormError(item.line, "collection item has no 'end'");
                if (!isIdentStart(peek())) throw EFormError(line, "expected a property or 'end' of the item: " + unexpected());
                size_t save = pos;
                if (sameWord(readWord(), "end") && peek() != '.') {
                    requireLineEnd("'end'", true);
                    break;
                }
                pos = save;
                item.props.push_back(parseProperty(depth + 1, true));
            }
            v.items.push_back(std::move(item));
        }
    }
};

}  // namespace

TFormObject ParseFormText(std::string_view text) { return TParser(text).parseRoot(); }

std::string_view FormValueKindName(TFormValue::TKind kind) {
    switch (kind) {
        case TFormValue::TKind::Integer: return "an integer";
        case TFormValue::TKind::String: return "a string";
        case TFormValue::TKind::Ident: return "an identifier";
        case TFormValue::TKind::Set: return "a set";
        case TFormValue::TKind::Binary: return "a binary value";
        case TFormValue::TKind::StringList: return "a string list";
        case TFormValue::TKind::Collection: return "a collection";
    }
    return "a value";
}

bool Utf8ToWide(std::string_view s, std::wstring& out) {
    out.clear();
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        unsigned char c = (unsigned char)s[i];
        uint32_t cp;
        int more;
        if (c < 0x80) {
            cp = c;
            more = 0;
        } else if (c >= 0xC2 && c < 0xE0) {
            cp = c & 0x1F;
            more = 1;
        } else if (c >= 0xE0 && c < 0xF0) {
            cp = c & 0x0F;
            more = 2;
        } else if (c >= 0xF0 && c < 0xF5) {
            cp = c & 0x07;
            more = 3;
        } else {
            return false;
        }
        if (size_t(more) >= s.size() - i) return false;
        for (int k = 1; k <= more; ++k) {
            unsigned char t = (unsigned char)s[i + size_t(k)];
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms are malformed; surrogate code points are kept (they come from #codes).
        if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
        i += size_t(more) + 1;
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0x10000) {
                cp -= 0x10000;
                out += wchar_t(0xD800 + (cp >> 10));
                out += wchar_t(0xDC00 + (cp & 0x3FF));
                continue;
            }
        }
        out += wchar_t(cp);
    }
    return true;
}

std::string WideToUtf8(std::wstring_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t cp = uint32_t(s[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size()) {
                uint32_t lo = uint32_t(s[i + 1]);
                if (lo >= 0xDC00 && lo <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                    ++i;
                }
            }
        }
        if (cp > 0x10FFFF) cp = 0xFFFD;
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace qs
