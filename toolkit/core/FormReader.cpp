#include "FormReader.h"

#include <algorithm>
#include <optional>

#include "ColourNames.h"

namespace qs {

namespace {

bool sameWord(std::string_view a, std::string_view b) { return TClassBuilder<TObject>::equalsNoCase(a, b); }

std::string quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

// Font character sets are integers that definitions spell by name
// (Font.Charset = DEFAULT_CHARSET). Integer properties carry no type of their
// own, so the names apply to properties called Charset only.
struct TIntegerName {
    const char* name;
    int value;
};
constexpr TIntegerName kCharsets[] = {
    {"ANSI_CHARSET", 0},         {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},      {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},   {"HANGEUL_CHARSET", 129},    {"JOHAB_CHARSET", 130},     {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},     {"TURKISH_CHARSET", 162},   {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},     {"ARABIC_CHARSET", 178},     {"BALTIC_CHARSET", 186},    {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},       {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

std::optional<int64_t> namedInteger(const TPropInfo& info, std::string_view ident) {
    if (!sameWord(info.name, "Charset")) return std::nullopt;
    for (auto& c : kCharsets)
        if (sameWord(c.name, ident)) return c.value;
    return std::nullopt;
}

class TFormReader {
public:
    explicit TFormReader(TComponent* root) : FRoot(root) {}

    void read(const TFormObject& tree) {
        try {
            FRoot->BeginLoading();
            FRootName = tree.name;
            if (FRoot->Name().empty() && !tree.name.empty()) FRoot->SetName(tree.name);
            setProperties(FRoot, FRoot, tree.props);
            for (auto& child : tree.children) readChild(child, FRoot);
            resolveReferences();
            guarded(tree.line, "loading " + describe(FRoot), [&] { FRoot->Loaded(); });
            for (size_t i = 0; i < FCreated.size(); ++i)
                if (owned(FCreated[i]))
                    guarded(FLines[i], "loading " + describe(FCreated[i]), [&] { FCreated[i]->Loaded(); });
        } catch (...) {
            undo();
            throw;
        }
    }

private:
    struct TReference {
        TObject* holder;
        const TPropInfo* prop;
        std::string path;   // as written, for messages
        std::string owner;  // class of the component the property was written on
        std::string target;
        int line;
        bool rootHeld;  // the holder outlives a failed read
        TComponent* resolved = nullptr;
    };

    TComponent* FRoot;
    std::string FRootName;  // as the definition calls the root (a second instance may be named otherwise)
    std::vector<TComponent*> FCreated;
    std::vector<int> FLines;  // where each created component was defined
    std::vector<TReference> FReferences;
    std::vector<const TReference*> FAssigned;

    bool owned(const TComponent* c) const {
        auto& list = FRoot->Components();
        return std::find(list.begin(), list.end(), c) != list.end();
    }

    void undo() {
        // Only references held by the surviving root need taking back; the
        // rest die with their holders.
        for (const TReference* r : FAssigned)
            if (r->rootHeld) try {
                    r->prop->set(r->holder, TPropValue(static_cast<TObject*>(nullptr)));
                } catch (...) {
                }
        // Last created first, as owners free; one freed by another's
        // destructor (a menu freeing its items) has already left the root.
        for (size_t i = FCreated.size(); i-- > 0;)
            if (owned(FCreated[i])) delete FCreated[i];
        FCreated.clear();
    }

    void readChild(const TFormObject& node, TComponent* parent) {
        const TClassInfo* cls = FindClass(node.className);
        if (!cls) throw EFormError(node.line, "unknown class " + quoted(node.className));
        if (!cls->create) throw EFormError(node.line, "class " + cls->name + " cannot be created by a form definition");
        if (!node.name.empty() && FRoot->FindComponent(node.name))
            throw EFormError(node.line, "a component named " + quoted(node.name) + " already exists");
        TComponent* c = nullptr;
        guarded(node.line, "creating a " + cls->name, [&] { c = cls->create(FRoot); });
        if (!c) throw EFormError(node.line, "class " + cls->name + " could not be created");
        FCreated.push_back(c);
        FLines.push_back(node.line);
        if (c->Owner() != FRoot) FRoot->InsertComponent(c);
        c->BeginLoading();
        if (!node.name.empty()) guarded(node.line, "naming a " + cls->name, [&] { c->SetName(node.name); });
        guarded(node.line, "placing " + describe(c) + " in " + describe(parent), [&] { c->SetParentComponent(parent); });
        setProperties(c, c, node.props);
        for (auto& child : node.children) readChild(child, c);
    }

    static std::string describe(const TComponent* c) { return c->Name().empty() ? "a " + c->ClassName() : quoted(c->Name()); }

    // A component's own failure still names the line of its definition.
    template <class F>
    static void guarded(int line, const std::string& what, F&& step) {
        try {
            step();
        } catch (const EFormError&) {
            throw;
        } catch (const std::exception& e) {
            throw EFormError(line, what + " failed: " + e.what());
        }
    }

    void setProperties(TComponent* comp, TObject* target, const std::vector<TFormProperty>& props) {
        for (auto& p : props) setProperty(comp, target, p);
    }

    // `comp` is the component the property is written on (for messages and
    // for knowing whether the holder survives a failure).
    void setProperty(TComponent* comp, TObject* target, const TFormProperty& p) {
        const std::string& ownerClass = comp ? comp->ClassName() : target->ClassName();
        // Walk a dotted path through object-valued properties (Font.Name).
        std::string_view path = p.path;
        TObject* holder = target;
        size_t dot;
        while ((dot = path.find('.')) != std::string_view::npos) {
            std::string_view seg = path.substr(0, dot);
            const TPropInfo* info = FindPropInfo(holder, seg);
            if (!info) throw EFormError(p.line, "unknown property " + quoted(p.path) + " of " + ownerClass);
            if (info->kind != TPropKind::Object || !info->get)
                throw EFormError(p.line, quoted(seg) + " of " + holder->ClassName() + " has no properties of its own (in " +
                                             quoted(p.path) + ")");
            auto v = info->get(holder);
            auto* ref = std::get_if<TObject*>(&v);
            TObject* next = ref ? *ref : nullptr;
            if (!next) throw EFormError(p.line, quoted(seg) + " of " + holder->ClassName() + " is empty (in " + quoted(p.path) + ")");
            holder = next;
            path.remove_prefix(dot + 1);
        }
        const TPropInfo* info = FindPropInfo(holder, path);
        if (!info) throw EFormError(p.line, "unknown property " + quoted(p.path) + " of " + ownerClass);
        assign(comp, holder, info, p, ownerClass);
    }

    [[noreturn]] void wrongKind(const TFormProperty& p, const std::string& ownerClass, std::string_view expected) {
        throw EFormError(p.value.line, "property " + quoted(p.path) + " of " + ownerClass + " takes " + std::string(expected) +
                                           ", not " + std::string(FormValueKindName(p.value.kind)));
    }

    void assign(TComponent* comp, TObject* holder, const TPropInfo* info, const TFormProperty& p, const std::string& ownerClass) {
        const TFormValue& v = p.value;
        using K = TFormValue::TKind;
        if (info->kind == TPropKind::Collection) {
            if (v.kind != K::Collection) wrongKind(p, ownerClass, "a collection");
            readCollection(comp, holder, info, p, ownerClass);
            return;
        }
        if (!info->set) throw EFormError(p.line, "property " + quoted(p.path) + " of " + ownerClass + " is read-only");
        TPropValue value;
        switch (info->kind) {
            case TPropKind::Integer:
                if (v.kind == K::Ident) {
                    auto named = namedInteger(*info, v.text);
                    if (!named) wrongKind(p, ownerClass, "an integer");
                    value = *named;
                    break;
                }
                if (v.kind != K::Integer) wrongKind(p, ownerClass, "an integer");
                value = v.integer;
                break;
            case TPropKind::Boolean:
                if (v.kind != K::Ident || !(sameWord(v.text, "True") || sameWord(v.text, "False")))
                    wrongKind(p, ownerClass, "True or False");
                value = sameWord(v.text, "True");
                break;
            case TPropKind::String:
                if (v.kind != K::String) wrongKind(p, ownerClass, "a string");
                value = v.text;
                break;
            case TPropKind::WideString: {
                if (v.kind != K::String) wrongKind(p, ownerClass, "a string");
                std::wstring w;
                if (!Utf8ToWide(v.text, w)) throw EFormError(v.line, "string for " + quoted(p.path) + " is not valid UTF-8");
                value = std::move(w);
                break;
            }
            case TPropKind::Enum:
                if (v.kind != K::Ident || v.text.find('.') != std::string::npos) wrongKind(p, ownerClass, "an enumeration member");
                if (info->members && std::none_of(info->members->begin(), info->members->end(),
                                                  [&](const std::string& m) { return sameWord(m, v.text); }))
                    throw EFormError(v.line, quoted(v.text) + " is not a member of " + quoted(p.path) + " of " + ownerClass);
                value = v.text;
                break;
            case TPropKind::Set:
                if (v.kind != K::Set) wrongKind(p, ownerClass, "a set");
                if (info->members)
                    for (auto& m : v.list)
                        if (std::none_of(info->members->begin(), info->members->end(),
                                         [&](const std::string& x) { return sameWord(x, m); }))
                            throw EFormError(v.line, quoted(m) + " is not a member of " + quoted(p.path) + " of " + ownerClass);
                value = TSetValue{v.list};
                break;
            case TPropKind::Colour:
                if (v.kind == K::Integer) {
                    // 32-bit colour numbers, negative ones written as such (-16777201 = clBtnFace).
                    if (v.integer < INT32_MIN || v.integer > int64_t(UINT32_MAX))
                        throw EFormError(v.line, "colour " + std::to_string(v.integer) + " is out of range");
                    value = int64_t(uint32_t(uint64_t(v.integer)));
                } else if (v.kind == K::Ident) {
                    auto c = IdentToColour(v.text);
                    if (!c) throw EFormError(v.line, "unknown colour " + quoted(v.text));
                    value = *c;
                } else {
                    wrongKind(p, ownerClass, "a colour");
                }
                break;
            case TPropKind::Object:
                if (v.kind != K::Ident) wrongKind(p, ownerClass, "a component name");
                FReferences.push_back({holder, info, p.path, ownerClass, v.text, v.line, comp == FRoot});
                return;
            case TPropKind::Binary:
                if (v.kind != K::Binary) wrongKind(p, ownerClass, "a binary value");
                value = v.bytes;
                break;
            case TPropKind::StringList:
                if (v.kind != K::StringList) wrongKind(p, ownerClass, "a string list");
                value = TStringList(v.list);
                break;
            case TPropKind::Event: {
                if (v.kind != K::Ident) wrongKind(p, ownerClass, "a handler name");
                const std::any* handler = FRoot->FindMethod(v.text);
                if (!handler) throw EFormError(v.line, "unknown handler " + quoted(v.text) + " for " + quoted(p.path));
                value = *handler;
                if (!callSetter(info, holder, value, p))
                    throw EFormError(v.line, "handler " + quoted(v.text) + " does not suit " + quoted(p.path) + " of " + ownerClass);
                return;
            }
            case TPropKind::Collection:
                break;  // handled above
        }
        if (!callSetter(info, holder, value, p))
            throw EFormError(v.line, "property " + quoted(p.path) + " of " + ownerClass + " does not accept this value");
    }

    // A setter that throws (a stored skin it cannot decode) still names the line.
    static bool callSetter(const TPropInfo* info, TObject* holder, const TPropValue& value, const TFormProperty& p) {
        try {
            return info->set(holder, value);
        } catch (const EFormError&) {
            throw;
        } catch (const std::exception& e) {
            throw EFormError(p.line, "setting " + quoted(p.path) + " failed: " + e.what());
        }
    }

    void readCollection(TComponent* comp, TObject* holder, const TPropInfo* info, const TFormProperty& p,
                        const std::string& ownerClass) {
        TPropValue got = info->get ? info->get(holder) : TPropValue();
        auto* obj = std::get_if<TObject*>(&got);
        auto* coll = obj ? dynamic_cast<TCollection*>(*obj) : nullptr;
        if (!coll) throw EFormError(p.line, "collection " + quoted(p.path) + " of " + ownerClass + " is missing");
        coll->Clear();
        for (auto& item : p.value.items) {
            TCollectionItem* it = coll->Add();
            if (!it) throw EFormError(item.line, "collection " + quoted(p.path) + " of " + ownerClass + " refused an item");
            for (auto& ip : item.props) setItemProperty(comp, it, ip);
        }
    }

    void setItemProperty(TComponent* comp, TCollectionItem* item, const TFormProperty& p) {
        // Messages name the item's class; references from items of the root's
        // own collections survive a failure with the root.
        size_t refsBefore = FReferences.size();
        setProperty(nullptr, item, p);
        for (size_t i = refsBefore; i < FReferences.size(); ++i) FReferences[i].rootHeld = comp == FRoot;
    }

    TComponent* findByName(std::string_view name) const {
        if (TComponent* c = FRoot->FindComponent(name)) return c;
        if (sameWord(FRoot->Name(), name) || (!FRootName.empty() && sameWord(FRootName, name))) return FRoot;
        return nullptr;
    }

    void resolveReferences() {
        // Every name is found and checked before any is assigned: a failure
        // leaves no reference behind in the root.
        for (auto& r : FReferences) {
            r.resolved = findByName(r.target);
            if (!r.resolved)
                throw EFormError(r.line, "unresolved reference " + quoted(r.target) + " for " + quoted(r.path) + " of " + r.owner);
            if (r.prop->objectClass && !r.resolved->InheritsFrom(*r.prop->objectClass))
                throw EFormError(r.line, quoted(r.target) + " is a " + r.resolved->ClassName() + ", which " + quoted(r.path) +
                                             " of " + r.owner + " cannot refer to");
        }
        for (auto& r : FReferences) {
            TFormProperty p;
            p.path = r.path;
            p.line = r.line;
            FAssigned.push_back(&r);
            if (!callSetter(r.prop, r.holder, TPropValue(static_cast<TObject*>(r.resolved)), p))
                throw EFormError(r.line, quoted(r.path) + " of " + r.owner + " does not accept " + quoted(r.target));
        }
    }
};

}  // namespace

void ReadForm(TComponent* root, const TFormObject& tree) { TFormReader(root).read(tree); }

void ReadForm(TComponent* root, std::string_view text) { ReadForm(root, ParseFormText(text)); }

TComponent* CreateComponentFromText(std::string_view text, TComponent* owner) {
    TFormObject tree = ParseFormText(text);
    const TClassInfo* cls = FindClass(tree.className);
    if (!cls) throw EFormError(tree.line, "unknown class " + quoted(tree.className));
    if (!cls->create) throw EFormError(tree.line, "class " + cls->name + " cannot be created by a form definition");
    TComponent* root = cls->create(owner);
    try {
        ReadForm(root, tree);
    } catch (...) {
        delete root;
        throw;
    }
    return root;
}

}  // namespace qs
