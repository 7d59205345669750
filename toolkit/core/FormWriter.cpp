#include "FormWriter.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "ColourNames.h"
#include "FormText.h"

namespace qs {

namespace {

constexpr size_t kStringPiece = 64;  // bytes per quoted piece of a long string
constexpr size_t kHexBytesPerLine = 32;
constexpr int kMaxSubObjectDepth = 8;

const char* const kHex = "0123456789ABCDEF";

bool valuesEqual(const TPropValue& a, const TPropValue& b) {
    if (a.index() != b.index()) return false;
    return std::visit(
        [&](const auto& x) {
            using V = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<V, std::any>)
                return true;  // handlers are not compared
            else
                return x == std::get<V>(b);
        },
        a);
}

std::string pad(int indent) { return std::string(size_t(indent), ' '); }

// Properties in declaration order, ancestors first; a republished name keeps
// its place and takes the descendant's entry (the one FindPropInfo returns).
std::vector<const TPropInfo*> publishedProps(const TClassInfo& cls) {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = &cls; c; c = c->parent) chain.push_back(c);
    std::vector<const TPropInfo*> out;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (auto& p : (*it)->props) {
            auto same = std::find_if(out.begin(), out.end(), [&](const TPropInfo* q) {
                return TClassBuilder<TObject>::equalsNoCase(q->name, p.name);
            });
            if (same != out.end())
                *same = &p;
            else
                out.push_back(&p);
        }
    return out;
}

class TFormWriter {
public:
    explicit TFormWriter(const TComponent* root) : FRoot(root) {}

    std::string write() {
        writeComponent(FRoot, 0);
        return std::move(FOut);
    }

private:
    const TComponent* FRoot;
    std::string FOut;
    std::map<const TClassInfo*, std::unique_ptr<TComponent>> FFresh;
    std::map<const TClassInfo*, TCollectionItem*> FFreshItems;  // live inside FFresh's collections
    std::map<const TCollection*, int> FAddedTo;
    std::set<const TComponent*> FWritten;

    const TComponent* fresh(const TClassInfo& cls) {
        auto it = FFresh.find(&cls);
        if (it != FFresh.end()) return it->second.get();
        std::unique_ptr<TComponent> made;
        if (cls.create) made.reset(cls.create(nullptr));
        return (FFresh[&cls] = std::move(made)).get();
    }

    bool referencable(const TObject* o) const {
        auto* c = dynamic_cast<const TComponent*>(o);
        if (!c) return false;
        if (c == FRoot) return !c->Name().empty();
        return c->Owner() == FRoot && !c->Name().empty();
    }

    const TComponent* parentOf(const TComponent* c) const {
        const TComponent* p = c->GetParentComponent();
        if (p && p != FRoot && p->Owner() == FRoot) return p;
        return FRoot;
    }

    void writeComponent(const TComponent* c, int indent) {
        FWritten.insert(c);
        FOut += pad(indent) + "object ";
        if (!c->Name().empty()) FOut += c->Name() + ": ";
        FOut += c->ClassName() + "\n";
        writeProps(c, fresh(c->ClassInfo()), "", indent + 2, 0);
        for (const TComponent* child : FRoot->Components())
            if (child != c && !FWritten.count(child) && parentOf(child) == c) writeComponent(child, indent + 2);
        if (c == FRoot)  // anything whose parent chain never reaches the root
            for (const TComponent* child : FRoot->Components())
                if (!FWritten.count(child)) writeComponent(child, indent + 2);
        FOut += pad(indent) + "end\n";
    }

    void writeProps(const TObject* obj, const TObject* def, const std::string& prefix, int indent, int depth) {
        bool isComponent = prefix.empty() && dynamic_cast<const TComponent*>(obj);
        for (const TPropInfo* p : publishedProps(obj->ClassInfo())) {
            if (!p->get || p->kind == TPropKind::Event) continue;
            if (isComponent && TClassBuilder<TObject>::equalsNoCase(p->name, "Name")) continue;
            TPropValue v = p->get(obj);
            // The default comes from the same entry only when the classes match.
            const TPropInfo* dp = def ? FindPropInfo(def, p->name) : nullptr;
            std::optional<TPropValue> dv;
            if (dp && dp->get && dp->kind == p->kind) dv = dp->get(def);
            std::string name = prefix + p->name;
            if (p->kind == TPropKind::Collection) {
                writeCollection(name, v, dv, indent);
                continue;
            }
            if (p->kind == TPropKind::Object) {
                TObject* o = std::get_if<TObject*>(&v) ? *std::get_if<TObject*>(&v) : nullptr;
                if (!o) continue;
                if (referencable(o)) {
                    if (p->set && !(dv && valuesEqual(v, *dv)))
                        FOut += pad(indent) + name + " = " + static_cast<const TComponent*>(o)->Name() + "\n";
                } else if (!dynamic_cast<const TComponent*>(o) && depth < kMaxSubObjectDepth) {
                    TObject* d = dv && std::get_if<TObject*>(&*dv) ? *std::get_if<TObject*>(&*dv) : nullptr;
                    if (d && d->ClassInfo().name != o->ClassInfo().name) d = nullptr;
                    writeProps(o, d, name + ".", indent, depth + 1);
                }
                continue;
            }
            if (!p->set) continue;
            if (def && dv && valuesEqual(v, *dv)) continue;
            std::string text = formatValue(*p, v, indent);
            if (!text.empty()) FOut += pad(indent) + name + " = " + text + "\n";
        }
    }

    void writeCollection(const std::string& name, const TPropValue& v, const std::optional<TPropValue>& dv, int indent) {
        auto* o = std::get_if<TObject*>(&v);
        auto* coll = o ? dynamic_cast<const TCollection*>(*o) : nullptr;
        if (!coll) return;
        auto* d = dv ? std::get_if<TObject*>(&*dv) : nullptr;
        auto* defColl = d ? dynamic_cast<TCollection*>(*d) : nullptr;
        int defCount = defColl ? defColl->Count() - FAddedTo[defColl] : 0;
        if (coll->Count() == 0) {
            if (defCount > 0) FOut += pad(indent) + name + " = <>\n";
            return;
        }
        FOut += pad(indent) + name + " = <";
        for (int i = 0; i < coll->Count(); ++i) {
            const TCollectionItem* item = coll->Item(i);
            FOut += "\n" + pad(indent + 2) + "item\n";
            writeProps(item, defaultItem(item->ClassInfo(), defColl), "", indent + 4, 0);
            FOut += pad(indent + 2) + "end";
        }
        FOut += ">\n";
    }

    const TObject* defaultItem(const TClassInfo& cls, TCollection* defColl) {
        auto it = FFreshItems.find(&cls);
        if (it != FFreshItems.end()) return it->second;
        // A new item of the fresh instance's collection holds the item defaults.
        TCollectionItem* item = defColl ? defColl->Add() : nullptr;
        if (item) ++FAddedTo[defColl];  // not one of the class's own default items
        if (item && &item->ClassInfo() != &cls) item = nullptr;
        return FFreshItems[&cls] = item;
    }

    static std::string formatValue(const TPropInfo& p, const TPropValue& v, int indent) {
        switch (p.kind) {
            case TPropKind::Integer:
                if (auto* i = std::get_if<int64_t>(&v)) return std::to_string(*i);
                break;
            case TPropKind::Boolean:
                if (auto* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
                break;
            case TPropKind::String:
                if (auto* s = std::get_if<std::string>(&v)) return FormatFormString(*s, indent + 2);
                break;
            case TPropKind::WideString:
                if (auto* w = std::get_if<std::wstring>(&v)) return FormatFormString(WideToUtf8(*w), indent + 2);
                break;
            case TPropKind::Enum:
                if (auto* s = std::get_if<std::string>(&v)) return *s;
                break;
            case TPropKind::Set:
                if (auto* s = std::get_if<TSetValue>(&v)) {
                    std::string out = "[";
                    for (size_t i = 0; i < s->members.size(); ++i) out += (i ? ", " : "") + s->members[i];
                    return out + "]";
                }
                break;
            case TPropKind::Colour:
                if (auto* c = std::get_if<int64_t>(&v)) {
                    std::string_view ident = ColourToIdent(*c);
                    if (!ident.empty()) return std::string(ident);
                    if (*c < 0 || *c > int64_t(UINT32_MAX)) return std::to_string(*c);
                    std::string out = "$";
                    for (int shift = 28; shift >= 0; shift -= 4) out += kHex[(*c >> shift) & 15];
                    return out;
                }
                break;
            case TPropKind::Binary:
                if (auto* b = std::get_if<TBytes>(&v)) {
                    if (b->empty()) return "{}";
                    std::string out = "{";
                    for (size_t i = 0; i < b->size(); ++i) {
                        if (i % kHexBytesPerLine == 0) out += "\n" + pad(indent + 2);
                        out += kHex[(*b)[i] >> 4];
                        out += kHex[(*b)[i] & 15];
                    }
                    return out + "}";
                }
                break;
            case TPropKind::StringList:
                if (auto* l = std::get_if<TStringList>(&v)) {
                    if (l->empty()) return "()";
                    std::string out = "(";
                    for (auto& line : *l) out += "\n" + pad(indent + 2) + FormatFormString(line, indent + 4);
                    return out + ")";
                }
                break;
            default:
                break;
        }
        return {};
    }
};

// Length of the UTF-8 sequence starting with `c` (1 for a stray byte).
size_t utf8Length(unsigned char c) {
    if (c >= 0xF0 && c < 0xF8) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::string FormatFormString(std::string_view s, int indent) {
    if (s.empty()) return "''";
    std::string out;
    bool inQuotes = false;
    size_t pieceBytes = 0;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = (unsigned char)s[i];
        // Long texts continue on the next line; never inside a character.
        if (pieceBytes >= kStringPiece) {
            if (inQuotes) out += '\'';
            inQuotes = false;
            out += " +\n" + pad(indent);
            pieceBytes = 0;
        }
        if (c < 0x20 || c == 0x7F) {
            if (inQuotes) out += '\'';
            inQuotes = false;
            out += '#' + std::to_string(c);
            ++i;
            ++pieceBytes;
            continue;
        }
        if (!inQuotes) out += '\'';
        inQuotes = true;
        size_t n = std::min(utf8Length(c), s.size() - i);
        for (size_t k = 1; k < n; ++k)
            if (((unsigned char)s[i + k] & 0xC0) != 0x80) n = k;  // a broken sequence goes byte by byte
        if (c == '\'') out += '\'';
        out.append(s.substr(i, n));
        i += n;
        pieceBytes += n;
    }
    if (inQuotes) out += '\'';
    return out;
}

std::string WriteForm(const TComponent* root) { return TFormWriter(root).write(); }

}  // namespace qs
