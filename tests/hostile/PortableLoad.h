#pragma once
// The whole skin load without the platform: archive, description, element
// values, every image decoded, frame-count rules and the derived images (the
// combo composite and arrow strip, the border colour, the toolbar gradient),
// with plain pixel images standing in for the Windows bitmaps. It follows the
// Windows loader step by step so that hostile skins and the fuzzer reach the
// same shared code the program runs.
#include <cstdint>
#include <functional>
#include <string_view>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "PixelView.h"
#include "SkinDescription.h"

namespace qs::hostile {

struct PortableRecord {
    TSkinSlot slot = TSkinSlot::Count;
    std::string name;
    int frames = 0;
    TSkinObjectFields fields;
    PixelImage image, image2;
};

struct PortableSkin {
    bool opened = false;
    std::string error;          // why the archive did not open
    std::string skinName;
    std::vector<PortableRecord> records;  // element slots with a record
    std::vector<PortableRecord> captionButtons;
    int radioFrames = 0, checkFrames = 0;
    int32_t borderColour = 0;
    PixelImage combo, comboArrow, toolbar;
    int64_t pixels = 0;  // every pixel decoded or made, in all
};

PortableSkin portableLoad(std::span<const uint8_t> archive);

// The steps after the archive: a description text and the entries it names,
// looked up through `extract` (which leaves its target empty for a name it
// does not have).
using EntrySource = std::function<void(std::string_view name, std::vector<uint8_t>& target)>;
PortableSkin portableBuild(std::string_view description, const EntrySource& extract);

}  // namespace qs::hostile
