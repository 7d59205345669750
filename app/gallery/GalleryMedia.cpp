// The media player page: two players, the second disabled.
#include "Forms.h"
#include "Gallery.h"
#include "MPlayer.h"

namespace qs::gallery {

PageWindow mediaPage() {
    auto* f = new TForm(nullptr);
    f->SetCaption(L"Gallery: media player");
    f->SetBorderStyle(bsSingle);
    f->SetBounds(20, 20, 340, 130);
    for (int row = 0; row < 2; ++row) {
        auto* mp = new TMediaPlayer(f);
        mp->SetParent(f);
        mp->SetBounds(12, 12 + 42 * row, 300, 30);
        if (row == 1) mp->SetEnabled(false);
    }
    return {f, nullptr, {}};
}

}  // namespace qs::gallery
