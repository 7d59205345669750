#include "SkinTool.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

#include <iostream>

#ifdef _WIN32
#include <io.h>
#define QS_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define QS_ISATTY(fd) isatty(fd)
#endif

#include "ArchiveWriter.h"
#include "Lint.h"
#include "NewSkin.h"
#include "Lzh.h"
#include "SkinReader.h"
#include "Version.h"

namespace fs = std::filesystem;

namespace qs::skintool {

namespace {

// One status line that rewrites itself, on a terminal only: logs, pipes and
// the tests' string streams never see it.
class ProgressLine {
public:
    explicit ProgressLine(std::ostream& err) : FOn(&err == &std::cerr && QS_ISATTY(2)), FErr(err) {}
    ~ProgressLine() { clear(); }
    void show(const std::string& text) {
        if (!FOn) return;
        std::string line = "skintool: " + text;
        if (line.size() > 78) line = line.substr(0, 75) + "...";
        FErr << '\r' << line << std::string(FWidth > line.size() ? FWidth - line.size() : 0, ' ') << std::flush;
        FWidth = line.size();
    }
    void clear() {
        if (!FOn || !FWidth) return;
        FErr << '\r' << std::string(FWidth, ' ') << '\r' << std::flush;
        FWidth = 0;
    }

private:
    bool FOn;
    std::ostream& FErr;
    std::size_t FWidth = 0;
};

const char kUsageText[] =
    "usage: skintool COMMAND ARGS...\n"
    "\n"
    "  pack DIR OUT [--order FILE] [--version 20000|30000|40000]\n"
    "      Packs the .bmp files and the one .ini file of DIR into the skin archive OUT.\n"
    "      Entries go in file-name order, or in the order FILE lists them (one name a\n"
    "      line; files it names may have any extension; files it leaves out follow).\n"
    "  unpack ARCHIVE DIR [--order FILE]\n"
    "      Writes every entry of ARCHIVE into DIR under its stored name; --order\n"
    "      also writes the entry order, for pack --order.\n"
    "  list ARCHIVE\n"
    "      Shows the version, the entries with their sizes, and the unpacked size.\n"
    "  lint SKIN...\n"
    "      Reports what a skin (an archive, or a folder as pack takes it) lacks or gets\n"
    "      wrong: missing sections or images, frame counts that do not divide the image,\n"
    "      references that are not \".bmp\", and text that contrasts less than 4.5:1 with\n"
    "      what it is drawn on (exit status 1 if any).\n"
    "  new DIR --face #RRGGBB --accent #RRGGBB [--text #RRGGBB] [--rounded] [--force]\n"
    "      [--preview PICTUREDIR]\n"
    "      Draws a complete skin into the folder DIR from a face colour, an accent and\n"
    "      a text colour: every element, the @2x frame pieces, the content colours.\n"
    "      Text that would read under 4.5:1 is moved toward black or white just as\n"
    "      far as it must, and the tool says so. --preview also draws a picture of the\n"
    "      skin's pieces. Then: pack DIR OUT --order DIR/order.txt\n"
    "  preview DIR [--page ID]...     (scripts/skintool only: runs the gallery)\n"
    "      The gallery in the skin kept in DIR, following every save there.\n"
    "  sheet SKIN OUT.png             (scripts/skintool only: runs the gallery)\n"
    "      One picture of every gallery page in SKIN beside the unskinned page.\n"
    "  lzh-encode IN OUT\n"
    "  lzh-decode IN OUT\n"
    "      Raw LZH files: the unpacked size as 4 bytes little-endian, then the stream.\n"
    "  --help      this text\n"
    "  --version   the tool's version\n"
    "\n"
    "Exit status: 0 success, 1 bad input or failure, 2 bad usage.\n";

struct Failure {
    int code;
    std::string message;
};

[[noreturn]] void failWith(std::string message, int code = kFailed) { throw Failure{code, std::move(message)}; }

std::vector<uint8_t> readFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) failWith("cannot read " + path.string() + ": it is a directory");
    std::ifstream in(path, std::ios::binary);
    if (!in) failWith("cannot read " + path.string() + ": " + std::strerror(errno));
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) failWith("cannot read " + path.string());
    return data;
}

void writeFile(const fs::path& path, std::span<const uint8_t> data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) failWith("cannot write " + path.string() + ": " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    out.close();
    if (!out) failWith("cannot write " + path.string());
}

std::string lowerExtension(const fs::path& p) { return skinLowerCase(p.extension().string()); }

// Splits "--name value" options off the positional arguments.
struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
};

Args parse(const std::vector<std::string>& args, std::size_t from, const std::set<std::string>& allowed) {
    Args a;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& s = args[i];
        if (s.size() > 2 && s.compare(0, 2, "--") == 0) {
            if (!allowed.count(s)) failWith("unknown option " + s + " for " + args[0], kUsage);
            if (i + 1 >= args.size()) failWith("option " + s + " needs a value", kUsage);
            a.options[s] = args[++i];
        } else {
            a.positional.push_back(s);
        }
    }
    return a;
}

void expectCount(const Args& a, std::size_t n, const std::string& command) {
    if (a.positional.size() != n)
        failWith(command + " takes " + std::to_string(n) + " arguments, got " + std::to_string(a.positional.size()) +
                     " (see skintool --help)",
                 kUsage);
}

std::vector<std::string> readOrderFile(const fs::path& path) {
    const auto bytes = readFile(path);
    std::vector<std::string> names;
    std::string line;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
        if (!line.empty()) names.push_back(line);
    }
    return names;
}

int pack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Args a = parse(args, 1, {"--order", "--version"});
    expectCount(a, 2, "pack");
    const fs::path dir = a.positional[0], target = a.positional[1];
    uint32_t version = kSkinVersion20000;
    if (auto v = a.options.find("--version"); v != a.options.end()) {
        char* end = nullptr;
        const unsigned long n = std::strtoul(v->second.c_str(), &end, 10);
        if (!end || *end || skinExtraBlockSize(uint32_t(n)) < 0 || n > 0xFFFFFFFFul)
            failWith("--version must be 20000, 30000 or 40000, not " + v->second, kUsage);
        version = uint32_t(n);
    }

    std::error_code ec;
    if (!fs::is_directory(dir, ec)) failWith(dir.string() + " is not a directory");
    std::vector<std::string> files;  // every regular file, by name
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file()) files.push_back(e.path().filename().string());
    if (ec) failWith("cannot list " + dir.string() + ": " + ec.message());
    std::sort(files.begin(), files.end());

    std::vector<std::string> order;
    if (auto o = a.options.find("--order"); o != a.options.end()) {
        std::set<std::string> listed;
        for (const std::string& name : readOrderFile(o->second)) {
            if (std::find(files.begin(), files.end(), name) == files.end())
                failWith("order file names " + name + ", which is not a file in " + dir.string());
            if (!listed.insert(name).second) failWith("order file names " + name + " twice");
            order.push_back(name);
        }
        for (const std::string& f : files) {
            const std::string ext = lowerExtension(f);
            if (!listed.count(f) && (ext == ".bmp" || ext == ".ini")) {
                err << "skintool: note: " << f << " is not in the order file; added after the listed ones\n";
                order.push_back(f);
            }
        }
    } else {
        for (const std::string& f : files) {
            const std::string ext = lowerExtension(f);
            if (ext == ".bmp" || ext == ".ini")
                order.push_back(f);
            else
                err << "skintool: note: skipping " << f << " (neither .bmp nor .ini)\n";
        }
    }

    const auto inis = std::count_if(order.begin(), order.end(), [](const std::string& f) { return lowerExtension(f) == ".ini"; });
    if (inis != 1)
        failWith("a skin needs exactly one .ini description; " + dir.string() + " gives " + std::to_string(inis));

    ProgressLine progress(err);
    std::vector<TSkinArchiveEntry> entries;
    for (const std::string& name : order) {
        progress.show("reading " + std::to_string(entries.size() + 1) + "/" + std::to_string(order.size()) + " " + name);
        entries.push_back({name, readFile(dir / name)});
    }
    if (std::string problem = skinArchiveProblem(entries, version); !problem.empty()) failWith(problem);

    const auto unpacked = layoutSkinArchive(entries, version);
    if (unpacked.size() > kLzhMaxUnpacked)
        failWith("the archive would unpack to " + std::to_string(unpacked.size()) + " bytes, over the limit of " +
                 std::to_string(kLzhMaxUnpacked));
    progress.show("compressing " + std::to_string(entries.size()) + " entries, " + std::to_string(unpacked.size()) +
                  " bytes");
    const auto packed = lzhPack(unpacked);
    progress.show("writing " + target.string());
    writeFile(target, packed);
    progress.clear();
    out << "packed " << entries.size() << " entries, " << unpacked.size() << " bytes into " << target.string() << " ("
        << packed.size() << " bytes)\n";
    return kOk;
}

TSkinReader openArchive(const fs::path& path) {
    TSkinReader reader;
    if (!reader.Open(readFile(path))) failWith(path.string() + ": not a readable skin archive: " + reader.lastError());
    return reader;
}

// A stored name is written only if it stays inside the target folder.
bool safeFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == ':' || (unsigned char)c < 32) return false;
    return true;
}

int unpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Args a = parse(args, 1, {"--order"});
    expectCount(a, 2, "unpack");
    const TSkinReader reader = openArchive(a.positional[0]);
    const fs::path dir = a.positional[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) failWith("cannot create directory " + dir.string());

    int status = kOk;
    std::set<std::string> written;
    std::string order;
    std::size_t count = 0;
    for (std::size_t k = 0; k < reader.count(); ++k) {
        const std::string& name = reader.storedNames()[k];
        if (!safeFileName(name)) {
            err << "skintool: entry " << k << " has a name that is not a plain file name; skipped\n";
            status = kFailed;
            continue;
        }
        if (!written.insert(reader.names()[k]).second) {
            err << "skintool: entry " << k << " (" << name << ") repeats an earlier name and can never be found; skipped\n";
            status = kFailed;
            continue;
        }
        if (!reader.entryPresent(k)) {
            err << "skintool: entry " << k << " (" << name << ") runs past the end of the archive; skipped\n";
            status = kFailed;
            continue;
        }
        writeFile(dir / name, reader.entry(k));
        order += name + "\n";
        ++count;
    }
    if (auto o = a.options.find("--order"); o != a.options.end())
        writeFile(o->second, std::vector<uint8_t>(order.begin(), order.end()));
    out << "unpacked " << count << " of " << reader.count() << " entries into " << dir.string() << "\n";
    return status;
}

int list(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    const Args a = parse(args, 1, {});
    expectCount(a, 1, "list");
    const auto bytes = readFile(a.positional[0]);
    TSkinReader reader;
    if (!reader.Open(bytes)) failWith(a.positional[0] + ": not a readable skin archive: " + reader.lastError());
    out << "version        " << reader.header().Version << "\n";
    out << "entries        " << reader.count() << "\n";
    out << "packed size    " << bytes.size() << "\n";
    out << "unpacked size  " << reader.unpackedSize() << "\n";
    uint64_t total = 0;
    for (std::size_t k = 0; k < reader.count(); ++k) {
        out << std::setw(5) << k << "  " << std::setw(10) << reader.entrySize(k) << "  "
            << reader.storedNames()[k];
        if (!reader.entryPresent(k)) out << "  (runs past the end: absent)";
        out << "\n";
        total += reader.entrySize(k);
    }
    out << "entry bytes    " << total << " of " << reader.dataSize() << "\n";
    return kOk;
}

int lzhEncode(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    const Args a = parse(args, 1, {});
    expectCount(a, 2, "lzh-encode");
    const auto data = readFile(a.positional[0]);
    if (data.size() > kLzhMaxUnpacked)
        failWith(a.positional[0] + " has " + std::to_string(data.size()) + " bytes, more than the " +
                 std::to_string(kLzhMaxUnpacked) + " an LZH file may unpack to");
    const auto packed = lzhPack(data);
    writeFile(a.positional[1], packed);
    out << data.size() << " -> " << packed.size() << " bytes\n";
    return kOk;
}

int lzhDecode(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    const Args a = parse(args, 1, {});
    expectCount(a, 2, "lzh-decode");
    const auto packed = readFile(a.positional[0]);
    std::vector<uint8_t> data;
    std::string why;
    if (!lzhUnpack(packed, data, &why)) failWith(a.positional[0] + ": " + why);
    writeFile(a.positional[1], data);
    out << packed.size() << " -> " << data.size() << " bytes\n";
    return kOk;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsageText;
        return kUsage;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsageText;
        return kOk;
    }
    if (command == "--version") {
        out << "skintool " << engineVersion() << "\n";
        return kOk;
    }
    using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    static const std::map<std::string, Command> commands{
        {"pack", pack}, {"unpack", unpack}, {"list", list}, {"lzh-encode", lzhEncode}, {"lzh-decode", lzhDecode},
        {"lint", lint}, {"new", newSkin}};
    if (command == "preview" || command == "sheet") {
        err << "skintool: " << command << " runs the Windows gallery under Wine: use scripts/skintool " << command
            << " (see skintool --help)\n";
        return kUsage;
    }
    const auto it = commands.find(command);
    if (it == commands.end()) {
        err << "skintool: unknown command " << command << "\n" << kUsageText;
        return kUsage;
    }
    try {
        return it->second(args, out, err);
    } catch (const Failure& f) {
        err << "skintool: " << f.message << "\n";
        return f.code;
    } catch (const std::exception& e) {
        err << "skintool: " << e.what() << "\n";
        return kFailed;
    }
}

}  // namespace qs::skintool
