#pragma once
// The loading sequence: opens the stored skin of a skin data component, reads
// its description and fills the component's element records, colours and
// derived resources in a fixed order.
#include <windows.h>

#include <string>
#include <vector>

#include "SkinBuild.h"

namespace qs {

class TSkinData;
class TSkinReader;
class TBitmap;
struct TSkinDescription;

class TSkinLoader {
public:
    // True when the archive opened. On failure nothing of the component
    // changes except that it is marked not loaded.
    static bool Load(TSkinData& sd);
    // Fills the component from a skin already opened (an archive or a folder).
    static void Load(TSkinData& sd, const TSkinReader& reader);

    // The module whose resources hold the built-in bitmaps (the one this code
    // is linked into).
    static HMODULE ResourceModule();
    // A built-in bitmap resource by name; false (and an empty bitmap) when the
    // program carries none of that name.
    static bool LoadBuiltinBitmap(TBitmap& bmp, const wchar_t* name);

private:
    TSkinLoader(TSkinData& sd, const TSkinReader& reader) : FSD(sd), FReader(reader) {}
    void Build(const TSkinDescription& d);
    void LoadImage(TBitmap& bmp, const std::string& entry);
    void BuildCaptionButtons(const TSkinDescription& d);
    void BuildElements(const TSkinDescription& d);
    void BuildBuiltinTracks();
    void SetFrameCounts(const TSkinDescription& d);
    void BuildComboComposite();
    void BuildComboxArrow();
    void BuildToolbar();

    TSkinData& FSD;
    const TSkinReader& FReader;
    std::vector<uint8_t> FScratch;
    TSkinPixelBudget FBudget;
};

}  // namespace qs
