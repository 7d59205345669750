#include "HostileSkins.h"

#include <algorithm>
#include <memory>

#include "Lzh.h"
#include "SkinReader.h"
#include "Lzh.h"

namespace qs::hostile {

namespace {

using Bytes = std::vector<uint8_t>;
using Entries = std::vector<TSkinArchiveEntry>;

void putU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void putU16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void appendU32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A small deterministic generator, so every run makes the same corpus.
struct Rng {
    uint64_t s;
    uint64_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    std::size_t below(std::size_t n) { return n ? std::size_t(next() % n) : 0; }
};

TSkinArchiveEntry* findEntry(Entries& e, std::string_view name) {
    for (auto& x : e)
        if (skinLowerCase(x.Name) == skinLowerCase(name)) return &x;
    return nullptr;
}

TSkinArchiveEntry* descriptionEntry(Entries& e) {
    for (auto& x : e)
        if (skinLowerCase(x.Name).find(".ini") != std::string::npos) return &x;
    return nullptr;
}

std::string textOf(const Bytes& b) { return std::string(b.begin(), b.end()); }
Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Sets `key` of `[section]` in description text: replaces the first line of
// that key in the section, or adds the line right after the header (and the
// section at the end when there is none).
std::string setKey(std::string text, const std::string& section, const std::string& key, const std::string& value) {
    const std::string header = "[" + section + "]";
    auto lower = [](std::string s) { return skinLowerCase(s); };
    const std::string lt = lower(text);
    std::size_t h = lt.find(lower(header));
    const std::string line = key + "=" + value;
    if (h == std::string::npos) return text + "\r\n" + header + "\r\n" + line + "\r\n";
    std::size_t pos = text.find('\n', h);
    pos = pos == std::string::npos ? text.size() : pos + 1;
    const std::size_t sectionEnd = std::min(lt.find("\n[", pos), text.size());
    for (std::size_t p = pos; p < sectionEnd;) {
        std::size_t e = text.find('\n', p);
        if (e == std::string::npos) e = text.size();
        const std::string l = lower(text.substr(p, e - p));
        if (l.rfind(lower(key) + "=", 0) == 0) {
            std::size_t stop = e;
            if (stop > p && text[stop - 1] == '\r') --stop;
            return text.substr(0, p) + line + text.substr(stop);
        }
        p = e + 1;
    }
    return text.substr(0, pos) + line + "\r\n" + text.substr(pos);
}

// Every key of the base description whose name ends in `suffix` (lower case)
// in every section, as (section, key) pairs.
std::vector<std::pair<std::string, std::string>> keysEndingIn(const std::string& text, const std::string& suffix) {
    std::vector<std::pair<std::string, std::string>> out;
    std::string section;
    std::size_t p = 0;
    while (p < text.size()) {
        std::size_t e = text.find('\n', p);
        if (e == std::string::npos) e = text.size();
        std::string l = text.substr(p, e - p);
        while (!l.empty() && (l.back() == '\r' || l.back() == ' ')) l.pop_back();
        if (l.size() > 2 && l.front() == '[' && l.back() == ']') {
            section = l.substr(1, l.size() - 2);
        } else if (auto eq = l.find('='); eq != std::string::npos && !section.empty()) {
            const std::string key = l.substr(0, eq);
            const std::string lk = skinLowerCase(key);
            if (lk.size() >= suffix.size() && lk.compare(lk.size() - suffix.size(), suffix.size(), suffix) == 0)
                out.emplace_back(section, key);
        }
        p = e + 1;
    }
    return out;
}

// A BMP of the given size whose pixels are one RLE8 end-of-bitmap mark: a
// handful of bytes that claims any number of pixels.
Bytes rleBmp(int32_t width, int32_t height) {
    Bytes b(14 + 40 + 4 + 2, 0);
    b[0] = 'B';
    b[1] = 'M';
    putU32(&b[2], uint32_t(b.size()));
    putU32(&b[10], 14 + 40 + 4);
    putU32(&b[14], 40);
    putU32(&b[18], uint32_t(width));
    putU32(&b[22], uint32_t(height));
    putU16(&b[26], 1);
    putU16(&b[28], 8);
    putU32(&b[30], 1);  // RLE8
    putU32(&b[46], 1);  // one palette entry
    putU32(&b[54], 0x00FF00FF);
    b[58] = 0;
    b[59] = 1;  // end of bitmap
    return b;
}

// A plain 24-bit BMP of one colour.
Bytes solidBmp(int width, int height, uint32_t rgb) {
    const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
    Bytes b(54 + stride * std::size_t(height), 0);
    b[0] = 'B';
    b[1] = 'M';
    putU32(&b[2], uint32_t(b.size()));
    putU32(&b[10], 54);
    putU32(&b[14], 40);
    putU32(&b[18], uint32_t(width));
    putU32(&b[22], uint32_t(height));
    putU16(&b[26], 1);
    putU16(&b[28], 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &b[54 + stride * std::size_t(y) + std::size_t(x) * 3];
            p[0] = uint8_t(rgb);
            p[1] = uint8_t(rgb >> 8);
            p[2] = uint8_t(rgb >> 16);
        }
    return b;
}

class Builder {
public:
    Builder(Bytes packed, Entries entries, std::string ini, std::string iniName)
        : FBase(std::make_shared<const Base>(Base{std::move(packed), std::move(entries), std::move(ini),
                                                  std::move(iniName)})) {}

    std::vector<HostileCase> cases;

    void add(std::string name, std::function<Bytes()> make) { cases.push_back({std::move(name), std::move(make)}); }

    // A case made from the packed base.
    void packed(std::string name, std::function<void(Bytes&)> edit) {
        auto base = FBase;
        add(std::move(name), [base, edit] {
            Bytes b = base->packed;
            edit(b);
            return b;
        });
    }
    // A case made from the entries, packed as a well-formed archive.
    void entries(std::string name, std::function<void(Entries&)> edit) {
        auto base = FBase;
        add(std::move(name), [base, edit] {
            Entries e = base->entries;
            edit(e);
            return packQuick(layoutSkinArchive(e));
        });
    }
    // A case laid out from raw parts, so anything can be wrong with it.
    void raw(std::string name, std::function<void(RawArchive&)> edit) {
        auto base = FBase;
        add(std::move(name), [base, edit] {
            RawArchive r = rawFromEntries(base->entries);
            edit(r);
            return packQuick(r.layout());
        });
    }
    // A case made from the unpacked bytes.
    void unpacked(std::string name, std::function<void(Bytes&)> edit) {
        auto base = FBase;
        add(std::move(name), [base, edit] {
            Bytes u = layoutSkinArchive(base->entries);
            edit(u);
            return packQuick(u);
        });
    }
    // A case whose description text is changed.
    void description(std::string name, std::function<void(std::string&)> edit) {
        auto base = FBase;
        add(std::move(name), [base, edit] {
            Entries e = base->entries;
            std::string text = base->ini;
            edit(text);
            descriptionEntry(e)->Data = bytesOf(text);
            return packQuick(layoutSkinArchive(e));
        });
    }
    // A case whose description and entries both change.
    void both(std::string name, std::function<void(std::string&, Entries&)> edit) {
        auto base = FBase;
        add(std::move(name), [base, edit] {
            Entries e = base->entries;
            std::string text = base->ini;
            edit(text, e);
            if (auto* d = descriptionEntry(e)) d->Data = bytesOf(text);
            return packQuick(layoutSkinArchive(e));
        });
    }
    // A case whose BMP entry `entry` is changed.
    void bmp(const std::string& entry, std::string what, std::function<void(Bytes&)> edit) {
        entries("bmp/" + entry + "/" + what, [entry, edit](Entries& e) {
            if (auto* x = findEntry(e, entry)) edit(x->Data);
        });
    }

    const Bytes& basePacked() const { return FBase->packed; }
    const Entries& baseEntries() const { return FBase->entries; }
    const std::string& baseIni() const { return FBase->ini; }

private:
    struct Base {
        Bytes packed;
        Entries entries;
        std::string ini;
        std::string iniName;
    };
    std::shared_ptr<const Base> FBase;
};

void packedCases(Builder& b) {
    const std::size_t size = b.basePacked().size();
    std::vector<std::size_t> cuts = {0, 1, 2, 3, 4, 5, 6, 7, 8, 12, 16, 32, 64, 100, 256, 512, 1000, 2000, 4000};
    for (std::size_t k = 1; k < 32; ++k) cuts.push_back(size * k / 32);
    cuts.push_back(size - 1);
    for (std::size_t cut : cuts)
        b.packed("truncated/at-" + std::to_string(cut), [cut](Bytes& x) { x.resize(std::min(cut, x.size())); });

    Rng rng{0x5EED1234ABCDull};
    for (int i = 0; i < 40; ++i) {
        const std::size_t pos = 4 + rng.below(size - 4);
        const int bit = int(rng.below(8));
        b.packed("packed-flip/" + std::to_string(pos) + "." + std::to_string(bit),
                 [pos, bit](Bytes& x) { x[pos] ^= uint8_t(1 << bit); });
    }
    for (int i = 0; i < 10; ++i) {
        const std::size_t pos = 4 + rng.below(size - 20);
        const uint64_t seed = rng.next() | 1;
        b.packed("packed-garbage/" + std::to_string(pos), [pos, seed](Bytes& x) {
            Rng r{seed};
            for (std::size_t k = 0; k < 16; ++k) x[pos + k] = uint8_t(r.next());
        });
    }

    const uint32_t real = uint32_t(b.basePacked()[0]) | uint32_t(b.basePacked()[1]) << 8 |
                          uint32_t(b.basePacked()[2]) << 16 | uint32_t(b.basePacked()[3]) << 24;
    const uint32_t most = uint32_t(lzhMaxExpansion(size - 4));
    const std::pair<const char*, uint32_t> sizes[] = {
        {"zero", 0},          {"one", 1},           {"15", 15},
        {"16", 16},           {"real-minus-1", real - 1}, {"half", real / 2},
        {"real-plus-1", real + 1}, {"double", real * 2}, {"most-plausible", most},
        {"over-plausible", most + 1}, {"64MiB", uint32_t(64) << 20}, {"64MiB-plus-1", (uint32_t(64) << 20) + 1},
        {"max", 0xFFFFFFFFu},
    };
    for (const auto& size : sizes) {
        const uint32_t v = size.second;
        b.packed(std::string("unpacked-size/") + size.first, [v](Bytes& x) { putU32(x.data(), v); });
    }
    b.entries("unpacked-size/at-the-limit", [](Entries& e) {
        // A zero entry that brings the archive to just under the unpacked limit.
        std::size_t total = 16 + 4 * (e.size() + 1);
        for (const auto& x : e) total += x.Name.size() + 2 + x.Data.size();
        e.push_back({"padding.bin", Bytes(kLzhMaxUnpacked - total - 16, 0)});
    });
    b.entries("unpacked-size/over-the-limit", [](Entries& e) { e.push_back({"padding.bin", Bytes(kLzhMaxUnpacked, 0)}); });
    b.add("packed/empty", [] { return Bytes{}; });
    b.add("packed/size-only", [] { return Bytes{0x10, 0, 0, 0}; });
    b.add("packed/zero-stream-1MiB", [] {
        Bytes x(4 + 30000, 0);
        putU32(x.data(), 1u << 20);
        return x;
    });
}

void unpackedCases(Builder& b) {
    const Bytes layout = layoutSkinArchive(b.baseEntries());
    const std::size_t names = 16;
    const std::size_t nameLen = std::size_t(layout[4]) | std::size_t(layout[5]) << 8;
    const std::size_t sizeTable = names + nameLen;
    const std::size_t dataStart = sizeTable + 4 * b.baseEntries().size();
    Rng rng{0xF1A9F1A9ull};
    auto flip = [&](const char* region, std::size_t from, std::size_t to, int count) {
        for (int i = 0; i < count; ++i) {
            const std::size_t pos = from + rng.below(to - from);
            const int bit = int(rng.below(8));
            b.unpacked(std::string("unpacked-flip/") + region + "/" + std::to_string(pos) + "." + std::to_string(bit),
                       [pos, bit](Bytes& u) { u[pos] ^= uint8_t(1 << bit); });
        }
    };
    flip("header", 0, 16, 8);
    flip("names", names, sizeTable, 6);
    flip("sizes", sizeTable, dataStart, 8);
    flip("data", dataStart, layout.size(), 12);

    for (uint32_t v : {0u, 1u, 19999u, 20001u, 29999u, 50000u, 0xFFFFFFFFu})
        b.raw("version/" + std::to_string(v), [v](RawArchive& r) { r.version = v; });
    b.add("version/30000-valid", [entries = b.baseEntries()] { return packQuick(layoutSkinArchive(entries, 30000)); });
    b.add("version/40000-valid", [entries = b.baseEntries()] { return packQuick(layoutSkinArchive(entries, 40000)); });
    b.add("version/30000-short", [] {
        Bytes u(100, 0);
        putU32(u.data(), 30000);
        return packQuick(u);
    });
    b.add("version/header-only", [] {
        Bytes u(16, 0);
        putU32(u.data(), 20000);
        return packQuick(u);
    });

    for (int64_t len : {int64_t(0), int64_t(1), int64_t(0xFFFFFFFF), int64_t(0x7FFFFFFF), int64_t(300000),
                        int64_t(nameLen - 3), int64_t(nameLen + 5)})
        b.raw("name-list-length/" + std::to_string(len), [len](RawArchive& r) { r.nameListLength = len; });

    auto manyNames = [&](std::size_t n, const char* what) {
        b.raw(std::string("entry-count/") + what, [n](RawArchive& r) {
            for (std::size_t k = r.sizes.size(); k < n; ++k) {
                r.names += "x" + std::to_string(k) + ".bmp\r\n";
                r.sizes.push_back(0);
            }
        });
    };
    manyNames(1001, "1001");
    manyNames(1002, "1002");
    manyNames(100000, "100000");
    b.raw("entry-count/65535-line-breaks", [](RawArchive& r) { r.names += std::string(65535, '\n'); });
    b.raw("entry-count/sizes-missing", [](RawArchive& r) {
        r.names += "extra.bmp\r\n";
        r.data.clear();
    });

    b.raw("sizes/one-max", [](RawArchive& r) { r.sizes[0] = 0xFFFFFFFFu; });
    b.raw("sizes/all-2GiB", [](RawArchive& r) { std::fill(r.sizes.begin(), r.sizes.end(), 0x80000000u); });
    b.raw("sizes/wrap-32-bits", [](RawArchive& r) {
        // The sum of all sizes wraps 32 bits to exactly the real total.
        r.sizes[0] += 0x80000000u;
        r.sizes[1] += 0x80000000u;
    });
    b.raw("sizes/last-past-end", [](RawArchive& r) { r.sizes.back() += 1; });
    b.raw("sizes/first-short", [](RawArchive& r) { r.sizes[0] -= 1; });
    b.raw("sizes/description-past-end", [](RawArchive& r) {
        std::size_t k = 0, p = 0;
        while (p < r.names.size() && k < r.sizes.size()) {
            const std::size_t e = r.names.find("\r\n", p);
            if (r.names.substr(p, e - p).find(".ini") != std::string::npos) r.sizes[k] = 0x7FFFFFFF;
            p = e == std::string::npos ? r.names.size() : e + 2;
            ++k;
        }
    });
    b.raw("sizes/all-zero", [](RawArchive& r) { std::fill(r.sizes.begin(), r.sizes.end(), 0u); });
    b.raw("sizes/no-data", [](RawArchive& r) { r.data.clear(); });
}

void nameCases(Builder& b) {
    auto rename = [&](const std::string& what, const std::string& from, const std::string& to, bool point) {
        b.both("names/" + what, [from, to, point](std::string& ini, Entries& e) {
            if (auto* x = findEntry(e, from)) x->Name = to;
            if (point) ini = setKey(ini, "Personality", "Top", to);
        });
    };
    rename("dotdot-entry", "FrameTop.bmp", "..\\..\\FrameTop.bmp", true);
    rename("drive-entry", "FrameTop.bmp", "C:\\Windows\\FrameTop.bmp", true);
    rename("slash-entry", "FrameTop.bmp", "../../etc/FrameTop.bmp", true);
    rename("dotdot-entry-plain-reference", "FrameTop.bmp", "..\\FrameTop.bmp", false);
    rename("upper-extension", "FrameTop.bmp", "FRAMETOP.BMP", false);
    rename("high-bytes", "FrameTop.bmp", "Fr\xE4me\xFF\x80.bmp", true);
    rename("utf8", "FrameTop.bmp", "\xE6\xA1\x86\xE9\xA1\xB6.bmp", true);
    rename("long-64k", "FrameTop.bmp", std::string(65536, 'a') + ".bmp", true);
    rename("control-bytes", "FrameTop.bmp", std::string("\x01\x02\x1B[2J\x7F", 7) + ".bmp", true);
    b.raw("names/nul-inside", [](RawArchive& r) {
        const auto p = r.names.find("FrameTop.bmp");
        if (p != std::string::npos) r.names[p + 5] = '\0';
    });
    b.description("names/reference-with-folders", [](std::string& ini) {
        ini = setKey(ini, "Personality", "Top", "C:\\skins\\..\\..\\FrameTop.bmp");
        ini = setKey(ini, "Personality", "Bottom", "..\\..\\..\\Windows\\FrameBottom.bmp");
        ini = setKey(ini, "Personality", "Left", "dir:sub\\FrameLeft.bmp");
    });
    b.description("names/reference-odd-bytes", [](std::string& ini) {
        ini = setKey(ini, "Personality", "Top", "\xFF\xFE\x01.bmp");
        ini = setKey(ini, "Personality", "Right", std::string(100000, '\\') + "FrameRight.bmp");
    });
    b.entries("names/duplicate", [](Entries& e) {
        TSkinArchiveEntry copy = *findEntry(e, "FrameTop.bmp");
        copy.Data.resize(10);
        e.insert(e.begin(), copy);
    });
    b.entries("names/no-description", [](Entries& e) {
        e.erase(std::remove_if(e.begin(), e.end(),
                               [](const TSkinArchiveEntry& x) { return skinLowerCase(x.Name).find(".ini") != std::string::npos; }),
                e.end());
    });
    b.entries("names/two-descriptions", [](Entries& e) {
        TSkinArchiveEntry other{"aaa.ini", bytesOf("[Personality]\r\nTop=nothing.bmp\r\nTopFrame=0\r\n")};
        e.insert(e.begin(), other);
    });
    b.entries("names/description-is-bitmap", [](Entries& e) { descriptionEntry(e)->Data = findEntry(e, "FrameTop.bmp")->Data; });
    b.entries("names/bitmap-is-description", [](Entries& e) { findEntry(e, "FrameTop.bmp")->Data = descriptionEntry(e)->Data; });
    b.raw("names/only-empty-lines", [](RawArchive& r) {
        r.names = std::string(r.sizes.size(), '\n');
    });
}

void bmpCases(Builder& b) {
    struct Edit {
        const char* what;
        std::function<void(Bytes&)> edit;
    };
    const std::vector<Edit> edits = {
        {"width-0", [](Bytes& x) { putU32(&x[18], 0); }},
        {"width-negative", [](Bytes& x) { putU32(&x[18], uint32_t(-5)); }},
        {"width-min", [](Bytes& x) { putU32(&x[18], 0x80000000u); }},
        {"width-max", [](Bytes& x) { putU32(&x[18], 0x7FFFFFFFu); }},
        {"width-32769", [](Bytes& x) { putU32(&x[18], 32769); }},
        {"height-0", [](Bytes& x) { putU32(&x[22], 0); }},
        {"height-minus-1", [](Bytes& x) { putU32(&x[22], uint32_t(-1)); }},
        {"height-min", [](Bytes& x) { putU32(&x[22], 0x80000000u); }},
        {"height-max", [](Bytes& x) { putU32(&x[22], 0x7FFFFFFFu); }},
        {"height-negative-max", [](Bytes& x) { putU32(&x[22], uint32_t(-0x7FFFFFFF)); }},
        {"area-overflow", [](Bytes& x) { putU32(&x[18], 65535), putU32(&x[22], 65535); }},
        {"area-46341", [](Bytes& x) { putU32(&x[18], 46341), putU32(&x[22], 46341); }},
        {"bits-0", [](Bytes& x) { putU16(&x[28], 0); }},
        {"bits-2", [](Bytes& x) { putU16(&x[28], 2); }},
        {"bits-3", [](Bytes& x) { putU16(&x[28], 3); }},
        {"bits-64", [](Bytes& x) { putU16(&x[28], 64); }},
        {"bits-1-palette-huge", [](Bytes& x) { putU16(&x[28], 1), putU32(&x[46], 0xFFFFFFFFu); }},
        {"bits-8-palette-past-end", [](Bytes& x) { putU16(&x[28], 8), putU32(&x[46], 256), putU32(&x[10], 0); }},
        {"bits-4-palette-257", [](Bytes& x) { putU16(&x[28], 4), putU32(&x[46], 257); }},
        {"offset-0", [](Bytes& x) { putU32(&x[10], 0); }},
        {"offset-max", [](Bytes& x) { putU32(&x[10], 0xFFFFFFFFu); }},
        {"offset-at-end", [](Bytes& x) { putU32(&x[10], uint32_t(x.size())); }},
        {"offset-inside-header", [](Bytes& x) { putU32(&x[10], 14); }},
        {"header-size-0", [](Bytes& x) { putU32(&x[14], 0); }},
        {"header-size-13", [](Bytes& x) { putU32(&x[14], 13); }},
        {"header-size-max", [](Bytes& x) { putU32(&x[14], 0xFFFFFFFFu); }},
        {"header-size-124-short", [](Bytes& x) { putU32(&x[14], 124), x.resize(60); }},
        {"compression-jpeg", [](Bytes& x) { putU32(&x[30], 4); }},
        {"compression-max", [](Bytes& x) { putU32(&x[30], 0xFFFFFFFFu); }},
        {"compression-rle8-on-24", [](Bytes& x) { putU32(&x[30], 1); }},
        {"bitfields-zero-masks", [](Bytes& x) { putU16(&x[28], 32), putU32(&x[30], 3), putU32(&x[54], 0), putU32(&x[58], 0), putU32(&x[62], 0); }},
        {"bitfields-full-masks", [](Bytes& x) { putU16(&x[28], 32), putU32(&x[30], 3), putU32(&x[54], ~0u), putU32(&x[58], ~0u), putU32(&x[62], ~0u); }},
        {"no-signature", [](Bytes& x) { x[0] = 'X'; }},
        {"only-file-header", [](Bytes& x) { x.resize(14); }},
        {"half-pixels", [](Bytes& x) { x.resize(x.size() / 2); }},
        {"empty", [](Bytes& x) { x.clear(); }},
        {"rle8-bomb", [](Bytes& x) { x = rleBmp(5792, 5792); }},
        {"rle8-max-side", [](Bytes& x) { x = rleBmp(32768, 1024); }},
        {"rle8-runs-off-image", [](Bytes& x) {
             x = rleBmp(16, 16);
             x.pop_back(), x.pop_back();
             for (int i = 0; i < 64; ++i) x.push_back(0), x.push_back(2), x.push_back(255), x.push_back(255);
             x.push_back(255), x.push_back(0);
         }},
    };
    for (const Edit& e : edits) b.bmp("FrameTop.bmp", e.what, e.edit);
    for (const char* entry : {"CloseButton.bmp", "checkbox.bmp", "sunkedge.bmp", "button-mdi.bmp"})
        for (std::size_t k : {0u, 3u, 8u, 10u, 16u, 17u, 26u, 33u, 36u})
            b.bmp(entry, edits[k].what, edits[k].edit);
}

void descriptionCases(Builder& b) {
    const std::string& base = b.baseIni();
    for (const std::string& v : {std::string("0"), std::string("-1"), std::string("-2147483648"), std::string("2147483647")}) {
        b.description("frames/every-frame-key-" + v, [v, base](std::string& ini) {
            for (const auto& [section, key] : keysEndingIn(base, "frame")) ini = setKey(ini, section, key, v);
            for (const char* s : {"Progress.Chunk", "Track", "TRACKVERT", "Headerbar", "Button0", "Button1", "Button4",
                                  "SunkEdge", "ComboButton", "ExtraImages"})
                ini = setKey(ini, s, "Frame", v);
            for (const char* s : {"HorzScrollThumb", "VertScrollThumb"}) ini = setKey(ini, s, "FrameCount", v);
            ini = setKey(ini, "Buttons", "RadioButtonFrame", v);
            ini = setKey(ini, "Buttons", "CheckButtonFrame", v);
        });
    }
    for (const char* key : {"TopFrame", "BottomFrame", "LeftFrame", "RightFrame"})
        b.description(std::string("frames/") + key + "-0", [key](std::string& ini) { ini = setKey(ini, "Personality", key, "0"); });
    b.description("frames/mdi-narrow", [](std::string& ini) { ini = setKey(ini, "MDICONTROLS", "Image", "track.bmp"); });
    b.description("frames/caption-button-tiny-image", [](std::string& ini) {
        ini = setKey(ini, "Button0", "ButtonImage", "progress-chunk.bmp");
        ini = setKey(ini, "Button0", "frame", "1000");
    });

    for (const std::string& v : {std::string("100000"), std::string("-100000"), std::string("2147483647"),
                                 std::string("-2147483648")}) {
        b.description("margins/all-" + v, [v, base](std::string& ini) {
            for (const char* suffix : {"width", "height", "shift", "clip", "menu"})
                for (const auto& [section, key] : keysEndingIn(base, suffix)) ini = setKey(ini, section, key, v);
            for (const char* s : {"Tab.Pane", "SunkEdge", "ComboButton", "Track", "Scrollbar", "Buttons"}) {
                ini = setKey(ini, s, "LeftWidth", v);
                ini = setKey(ini, s, "RightWidth", v);
                ini = setKey(ini, s, "TopHeight", v);
                ini = setKey(ini, s, "BottomHeight", v);
            }
        });
    }
    b.description("values/font-height-max", [](std::string& ini) { ini = setKey(ini, "Fonts", "FontHeight", "2147483647"); });
    b.description("values/font-height-min", [](std::string& ini) { ini = setKey(ini, "Fonts", "FontHeight", "-2147483648"); });
    b.description("values/odd-flags", [base](std::string& ini) {
        for (const char* suffix : {"trans", "tile", "stretch", "style", "align", "action", "visibility", "combineop"})
            for (const auto& [section, key] : keysEndingIn(base, suffix)) ini = setKey(ini, section, key, "-2147483648");
    });
    b.description("values/long-numbers", [](std::string& ini) {
        ini = setKey(ini, "Colours", "ButtonFace", std::string(5000, '9') + " 1 2");
        ini = setKey(ini, "Personality", "TopFrame", std::string(5000, '7'));
        ini = setKey(ini, "Personality", "ActiveTextR", "$" + std::string(1000, 'F'));
    });

    b.description("size/100000-sections", [](std::string& ini) {
        std::string extra;
        for (int i = 0; i < 100000; ++i) extra += "[S" + std::to_string(i) + "]\r\nk=v\r\n";
        ini = extra + ini;
    });
    b.description("size/100000-caption-buttons", [](std::string& ini) {
        for (int i = 0; i < 100000; ++i)
            ini += "[Button" + std::to_string(1000 + i) + "]\r\nAction=0\r\nButtonImage=CloseButton.bmp\r\n";
    });
    b.description("size/100000-colour-sections", [](std::string& ini) {
        for (int i = 0; i < 100000; ++i) ini += "[Colour" + std::to_string(100 + i) + "]\r\ncolor=1 2 3\r\n";
    });
    b.description("size/10MB-line", [](std::string& ini) { ini = std::string(10 << 20, 'A') + "\r\n" + ini; });
    b.description("size/10MB-value", [](std::string& ini) {
        ini = setKey(ini, "Personality", "Top", std::string(10 << 20, 'x') + ".bmp");
    });
    b.description("size/10MB-section-name", [](std::string& ini) { ini = "[" + std::string(10 << 20, 'S') + "]\r\n" + ini; });
    b.description("size/4M-short-lines", [](std::string& ini) {
        std::string lines;
        lines.reserve(8 << 20);
        for (int i = 0; i < (4 << 20); ++i) lines += "a\n";
        ini = lines + ini;
    });
    b.description("text/nul-early", [](std::string& ini) { ini.insert(ini.find("[Personality]"), 1, '\0'); });
    b.description("text/only-crs", [](std::string& ini) { ini = std::string(1 << 20, '\r'); });
    b.description("text/empty", [](std::string& ini) { ini.clear(); });
    b.description("text/garbage", [](std::string& ini) {
        Rng r{77};
        for (char& c : ini) c = char(r.next());
    });

    b.both("bitmaps/every-image-one-large", [base](std::string& ini, Entries& e) {
        e.push_back({"large.bmp", rleBmp(2048, 2048)});
        for (const char* suffix : {"image", "bitmap", "top", "bottom", "left", "right", "textback", "menubar", "border",
                                   "button", "glyphimage"})
            for (const auto& [section, key] : keysEndingIn(base, suffix)) ini = setKey(ini, section, key, "large.bmp");
        for (int i = 0; i < 40; ++i) ini += "[Button" + std::to_string(100 + i) + "]\r\nButtonImage=large.bmp\r\n";
    });
    b.both("bitmaps/every-image-missing", [base](std::string& ini, Entries&) {
        for (const char* suffix : {"image", "bitmap", "top", "bottom", "left", "right", "textback", "menubar"})
            for (const auto& [section, key] : keysEndingIn(base, suffix)) ini = setKey(ini, section, key, "gone.bmp");
    });
    b.both("bitmaps/frame-top-1x1", [](std::string&, Entries& e) { findEntry(e, "FrameTop.bmp")->Data = solidBmp(1, 1, 0x123456); });
    b.both("bitmaps/all-1x1", [](std::string&, Entries& e) {
        for (auto& x : e)
            if (skinLowerCase(x.Name).find(".bmp") != std::string::npos) x.Data = solidBmp(1, 1, 0xFF00FF);
    });
    b.both("bitmaps/combo-1-wide", [](std::string& ini, Entries& e) {
        findEntry(e, "sunkedge.bmp")->Data = solidBmp(1, 30, 0x808080);
        findEntry(e, "combo.bmp")->Data = solidBmp(1, 1, 0x808080);
        ini = setKey(ini, "SunkEdge", "LeftWidth", "500");
    });
}

}  // namespace

std::vector<uint8_t> RawArchive::layout() const {
    Bytes out;
    appendU32(out, version);
    appendU32(out, nameListLength < 0 ? uint32_t(names.size()) : uint32_t(nameListLength));
    appendU32(out, 0);
    appendU32(out, 0);
    out.resize(out.size() + std::size_t(std::max(0, skinExtraBlockSize(version))), 0);
    out.insert(out.end(), names.begin(), names.end());
    for (uint32_t s : sizes) appendU32(out, s);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

RawArchive rawFromEntries(const std::vector<TSkinArchiveEntry>& entries) {
    RawArchive r;
    for (const auto& e : entries) {
        r.names += e.Name + "\r\n";
        r.sizes.push_back(uint32_t(e.Data.size()));
        r.data.insert(r.data.end(), e.Data.begin(), e.Data.end());
    }
    return r;
}

std::vector<uint8_t> packQuick(std::span<const uint8_t> unpacked) { return lzhPack(unpacked, 4); }

std::vector<TSkinArchiveEntry> archiveEntries(std::span<const uint8_t> archive) {
    std::vector<TSkinArchiveEntry> out;
    TSkinReader reader;
    if (!reader.Open(archive)) return out;
    for (std::size_t k = 0; k < reader.count(); ++k) {
        const auto bytes = reader.entry(k);
        out.push_back({reader.storedNames()[k], Bytes(bytes.begin(), bytes.end())});
    }
    return out;
}

std::vector<HostileCase> makeHostileCases(std::span<const uint8_t> base) {
    Entries entries = archiveEntries(base);
    TSkinArchiveEntry* d = descriptionEntry(entries);
    if (entries.empty() || !d) return {};
    Builder b(Bytes(base.begin(), base.end()), entries, textOf(d->Data), d->Name);
    packedCases(b);
    unpackedCases(b);
    nameCases(b);
    bmpCases(b);
    descriptionCases(b);
    return std::move(b.cases);
}

}  // namespace qs::hostile
