#pragma once
// The text of a form definition, parsed into a tree that still carries line
// numbers, so the reader can say where a value it cannot use was written.
//
//   object F_main: TMainForm            a named component; "object TTimer" is unnamed
//     Caption = 'Viewer '#8212' live'   quotes ('' inside), #code or #$hex, UTF-8 text;
//     Hint = 'first part ' +            pieces joined directly or with '+',
//       'second part'                   also across lines
//     Left = -$10                       decimal or $hex integers
//     Font.Name = 'Tahoma'              dotted paths through sub-objects
//     Color = clBtnFace                 identifiers: True/False, enum members,
//     PopupMenu = PM_1                  colours, component names, handler names
//     Anchors = [akLeft, akTop]         sets
//     Data = {                          binary: hex digits, spread over lines
//       0A0B0C}
//     Lines = ( 'one' 'two' )           string lists
//     Panels = <                        collections
//       item
//         Width = 40
//       end>
//     object Panel1: TPanel             nested components
//     end
//   end
//
// One property per line (collection items may share one). Keywords are
// case-blind; a UTF-8 byte-order mark and CR LF line ends are accepted.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Object.h"

namespace qs {

// Every problem with a definition: the message starts with "line N: ".
class EFormError : public std::runtime_error {
public:
    EFormError(int line, const std::string& message);
    int Line() const { return FLine; }
    // The message without the "line N: " prefix.
    const std::string& Detail() const { return FDetail; }

private:
    int FLine;
    std::string FDetail;
};

struct TFormItem;

struct TFormValue {
    enum class TKind {
        Integer,     // integer
        String,      // text: UTF-8 (character codes above 0xFFFF and lone surrogates included)
        Ident,       // text: an identifier (True, alClient, clBtnFace, PM_1, N1Click)
        Set,         // list: member identifiers
        Binary,      // bytes
        StringList,  // list: lines
        Collection,  // items
    };
    TKind kind = TKind::Integer;
    int line = 0;
    int64_t integer = 0;
    std::string text;
    std::vector<std::string> list;
    TBytes bytes;
    std::vector<TFormItem> items;
};

struct TFormProperty {
    std::string path;  // "Caption", "Font.Name"
    int line = 0;
    TFormValue value;
};

struct TFormItem {
    int line = 0;
    std::vector<TFormProperty> props;
};

struct TFormObject {
    std::string name;       // may be empty: "object TTimer"
    std::string className;
    int line = 0;
    std::vector<TFormProperty> props;
    std::vector<TFormObject> children;
};

// Parses one top-level object. Throws EFormError on malformed text.
TFormObject ParseFormText(std::string_view text);

// Helpers shared by the reader and the writer.
std::string_view FormValueKindName(TFormValue::TKind kind);
// UTF-8 (surrogate code points tolerated) to the platform's wide strings;
// false on a malformed sequence.
bool Utf8ToWide(std::string_view s, std::wstring& out);
std::string WideToUtf8(std::wstring_view s);

}  // namespace qs
