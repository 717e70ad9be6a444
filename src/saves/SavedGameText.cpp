#include "saves/SavedGameText.h"

#include "saves/FileError.h"

namespace veltrix {

namespace {

constexpr unsigned char Blank = 0x20;

bool AboveBlank(char c) {
    // Bytes from 0x80 up count as characters of a value, not as blanks.
    return static_cast<unsigned char>(c) > Blank;
}

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

[[noreturn]] void InvalidNumber() { throw FileError(TextInvalidNumericInput); }

void AppendLine(std::string& out, long long value) {
    out += std::to_string(value);
    out += "\r\n";
}

} // namespace

std::string WriteSavedGame(const GameState& state, std::uint32_t interval) {
    std::string out;
    AppendLine(out, interval);
    AppendLine(out, state.Score);
    AppendLine(out, state.Level);
    AppendLine(out, state.Serpent.Length);
    AppendLine(out, state.Food.X);
    AppendLine(out, state.Food.Y);
    AppendLine(out, state.Serpent.Direction);
    const int count = state.Serpent.Length < BodyCapacity ? state.Serpent.Length : BodyCapacity;
    for (int k = 1; k <= count; ++k) {
        AppendLine(out, state.Serpent.Body[k].X);
        AppendLine(out, state.Serpent.Body[k].Y);
    }
    return out;
}

std::optional<std::int32_t> ConvertValue(std::string_view run) {
    std::size_t i = 0;
    bool negative = false;
    if (i < run.size() && (run[i] == '+' || run[i] == '-')) {
        negative = run[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < run.size() && (run[i] == '$' || run[i] == 'x' || run[i] == 'X')) {
        base = 16;
        i += 1;
    } else if (i + 1 < run.size() && run[i] == '0' && (run[i + 1] == 'x' || run[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == run.size()) return std::nullopt;

    // Decimal may reach one past the largest positive value (for the
    // smallest negative one); hexadecimal covers all 32 bits.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : 0x80000000ull;
    std::uint64_t magnitude = 0;
    for (; i < run.size(); ++i) {
        const int digit = DigitValue(run[i], base);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > limit) return std::nullopt;
    }
    if (base == 10 && !negative && magnitude > 0x7FFFFFFFull) return std::nullopt;

    // Hexadecimal from 0x80000000 up reads negative; a sign then negates
    // the 32-bit pattern.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

SavedGameReader::SavedGameReader(std::string_view text, bool cutShort) : text_(text), cutShort_(cutShort) {}

void SavedGameReader::SkipRestOfLine() {
    // Only a line feed ends a line; a carriage return alone is just part
    // of the line.
    while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    if (pos_ < text_.size())
        ++pos_;
    else if (cutShort_)
        InvalidNumber();
}

std::int32_t SavedGameReader::Next() {
    if (started_) SkipRestOfLine();
    started_ = true;

    while (pos_ < text_.size() && !AboveBlank(text_[pos_])) ++pos_;
    if (pos_ == text_.size()) {
        if (cutShort_) InvalidNumber();
        return 0;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && pos_ - start < ValueRunLimit && AboveBlank(text_[pos_])) ++pos_;
    // A run cut by the end of the input may go on in bytes never read.
    if (pos_ == text_.size() && cutShort_ && pos_ - start < ValueRunLimit) InvalidNumber();

    const auto value = ConvertValue(text_.substr(start, pos_ - start));
    if (!value) InvalidNumber();
    return *value;
}

SavedGameRecord ReadSavedGame(std::string_view text, bool cutShort) {
    SavedGameReader reader(text, cutShort);
    SavedGameRecord record;
    record.Interval = reader.Next();
    record.Score = reader.Next();
    record.Level = static_cast<std::uint8_t>(reader.Next());
    record.Length = static_cast<std::uint8_t>(reader.Next());
    // The body store holds BodyCapacity segments; a longer serpent cannot
    // be played, so such a file is refused like any other bad value.
    if (record.Length > BodyCapacity) InvalidNumber();
    record.Food.X = reader.Next();
    record.Food.Y = reader.Next();
    record.Direction = static_cast<std::uint8_t>(reader.Next());
    for (int k = 1; k <= record.Length; ++k) {
        record.Body[k].X = reader.Next();
        record.Body[k].Y = reader.Next();
    }
    return record;
}

void StoreSavedGame(const SavedGameRecord& record, GameState& state, TimerInterface& timer) {
    timer.SetInterval(StoredInterval(static_cast<std::uint32_t>(record.Interval)));
    state.Score = record.Score;
    state.Level = record.Level;
    state.Serpent.Length = record.Length;
    state.Food = record.Food;
    state.Serpent.Direction = record.Direction;
    for (int k = 1; k <= record.Length; ++k) state.Serpent.Body[k] = record.Body[k];
}

} // namespace veltrix
