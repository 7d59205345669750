// Fuzzes form definitions: any text either reads or fails with EFormError
// (components' own failures included), never crashes, hangs or leaks; and what
// reads writes back to a definition that reads to the same text again.
//
// Built a second time with QS_FUZZ_SEED_WRITER, it writes the seed corpus:
// definitions using every value kind of the test components.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "FormReader.h"
#include "FormWriter.h"
#include "form_test_classes.h"

using namespace qs;
using namespace formtest;

namespace {

[[maybe_unused]] void check(bool ok) {
    if (!ok) __builtin_trap();
}

[[maybe_unused]] const char* const kKinds = R"(object F: TTestForm
  Caption = 'a'#20320'b' + 'c'
  Hint = 'it''s'#13#10
  Left = -$10
  Color = clBtnFace
  Font.Style = [fsBold, fsItalic]
  Font.Charset = GB2312_CHARSET
  Align = alClient
  Visible = False
  Lines = ( 'one' 'two' )
  Data = { 0A0B0C }
  OnClick = FormClick
  ActiveControl = A
  Panels = <
    item
      Width = 40
      Link = PM_1
    end>
  object A: TTestControl
    PopupMenu = PM_1
    object B: TTestControl
    end
  end
  object PM_1: TTestMenu
    object N1: TTestMenuItem
      Caption = '窗口置顶'
      OnClick = N1Click
    end
  end
  object SD: TTestData
    Controls = [xcMainMenu, xcStatusBar]
    Extra = ( 'TA=scrollbar' )
    Stream = { 00FF }
  end
end
)";

}  // namespace

#ifdef QS_FUZZ_SEED_WRITER
int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::string seeds[] = {kKinds, viewerDefinition(pseudoRandom(96)),
                                 "object X: TTestControl\n  Panels = < item Width = 1 end item Width = 2 end >\nend\n"};
    int n = 0;
    for (auto& s : seeds) {
        std::string path = std::string(argv[1]) + "/seed" + std::to_string(n++) + ".form";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return 1;
        std::fwrite(s.data(), 1, s.size(), f);
        std::fclose(f);
    }
    return 0;
}
#else
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool registered = (RegisterTestClasses(), true);
    (void)registered;
    g_trace.clear();
    const int live = g_live;
    std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<TComponent> root;
    try {
        root.reset(CreateComponentFromText(text));
    } catch (const EFormError& e) {
        check(e.Line() >= 1);
    }
    if (root) {
        std::string written = WriteForm(root.get());
        std::unique_ptr<TComponent> again(CreateComponentFromText(written));  // must read
        check(WriteForm(again.get()) == written);
    } else {
        check(g_live == live);  // a failed read frees all it made
    }
    return 0;
}
#endif
