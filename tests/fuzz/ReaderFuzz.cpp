// libFuzzer target for the saved-game reader: any bytes must either read or
// be refused with a FileError, never touch memory they should not, and what
// reads must survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "game/GameState.h"
#include "game/Interfaces.h"
#include "../core/GameDoubles.h"
#include "saves/FileError.h"
#include "saves/SavedGameText.h"

namespace {

using PlainTimer = veltrix::testing::FakeTimer;

bool Same(const veltrix::SavedGameRecord& a, const veltrix::SavedGameRecord& b) {
    if (a.Interval != b.Interval || a.Score != b.Score || a.Level != b.Level || a.Length != b.Length ||
        !(a.Food == b.Food) || a.Direction != b.Direction)
        return false;
    for (int k = 1; k <= a.Length; ++k)
        if (!(a.Body[k] == b.Body[k])) return false;
    return true;
}

bool Read(std::string_view text, bool cutShort, veltrix::SavedGameRecord& record) {
    try {
        record = veltrix::ReadSavedGame(text, cutShort);
        return true;
    } catch (const veltrix::FileError&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    veltrix::SavedGameRecord whole;
    veltrix::SavedGameRecord cut;
    const bool wholeRead = Read(text, false, whole);
    const bool cutRead = Read(text, true, cut);
    // Input that reads without the rest of the file reads the same with it.
    if (cutRead && (!wholeRead || !Same(cut, whole))) std::abort();
    if (!wholeRead) return 0;
    if (whole.Length > veltrix::BodyCapacity) std::abort();

    veltrix::GameState state;
    PlainTimer timer;
    veltrix::StoreSavedGame(whole, state, timer);
    veltrix::SavedGameRecord again;
    if (!Read(veltrix::WriteSavedGame(state, timer.Interval()), false, again)) std::abort();
    whole.Interval = static_cast<std::int32_t>(timer.Interval());
    if (!Same(again, whole)) std::abort();
    return 0;
}
