#include "game/Rules.h"

#include "game/Captions.h"

namespace veltrix {

namespace {

// Loaded files may hold any coordinate: wrap like the machine arithmetic
// the game always had, without signed overflow.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

void Turn(TSerpent& serpent, const DirectionStates& held) {
    // Each test sees the heading left by the one before.
    if (held.Up && serpent.Direction != HeadingDown) serpent.Direction = HeadingUp;
    if (held.Down && serpent.Direction != HeadingUp) serpent.Direction = HeadingDown;
    if (held.Left && serpent.Direction != HeadingRight) serpent.Direction = HeadingLeft;
    if (held.Right && serpent.Direction != HeadingLeft) serpent.Direction = HeadingRight;
}

void MoveHead(TSerpent& serpent) {
    TSegment& head = serpent.Body[1];
    switch (serpent.Direction) {
    case HeadingUp: head.Y = WrappingAdd(head.Y, -CellSize); break;
    case HeadingDown: head.Y = WrappingAdd(head.Y, CellSize); break;
    case HeadingLeft: head.X = WrappingAdd(head.X, -CellSize); break;
    case HeadingRight: head.X = WrappingAdd(head.X, CellSize); break;
    default: break;
    }
}

int UsedLength(const TSerpent& serpent) {
    return serpent.Length < BodyCapacity ? serpent.Length : BodyCapacity;
}

bool OnSerpent(const TSerpent& serpent, const TSegment& spot) {
    for (int i = 1; i <= UsedLength(serpent); ++i)
        if (serpent.Body[i] == spot) return true;
    return false;
}

void PlaceFood(GameState& state, RandomInterface& random) {
    do {
        const int column = random.Next(FieldColumns);
        const int row = random.Next(FieldRows);
        state.Food = {column * CellSize, row * CellSize};
    } while (OnSerpent(state.Serpent, state.Food));
}

void Grow(TSerpent& serpent) {
    // A full body store stops growing; the score still counts.
    if (serpent.Length >= BodyCapacity) return;
    ++serpent.Length;
    const TSegment& before = serpent.Body[serpent.Length - 1];
    serpent.Body[serpent.Length] = {WrappingAdd(before.X, CellSize), before.Y};
}

void AdvanceLevel(GameState& state, const GamePorts& ports) {
    state.Score = 0;
    PlayEffect(state, *ports.Sound, SoundEffect::Level);
    ports.Timer->SetInterval(StoredInterval(ports.Timer->Interval() - IntervalStep));
    state.Level = static_cast<std::uint8_t>(state.Level + 1);
    ports.Caption->SetCaption(RunningCaption(state.Score, state.Level));
    state.Serpent.Direction = HeadingUp;
    ports.Surface->Fill(0);
    PlaceAtStart(state.Serpent);
}

void Eat(GameState& state, const GamePorts& ports) {
    PlayEffect(state, *ports.Sound, SoundEffect::Eat);
    state.Score = WrappingAdd(state.Score, PointsPerFood);
    ports.Caption->SetCaption(RunningCaption(state.Score, state.Level));
    if (state.Score >= LevelThreshold && ports.Switches->LevelAdvanceAllowed())
        AdvanceLevel(state, ports);
    PlaceFood(state, *ports.Random);
    Grow(state.Serpent);
}

// Releases the text canvas on every path, or every later frame would fail.
class TextCanvasGuard {
public:
    TextCanvasGuard(SurfaceInterface& surface, const TextStyle& style) : surface_(surface) {
        surface_.BeginText(style);
    }
    ~TextCanvasGuard() { surface_.ReleaseText(); }
    TextCanvasGuard(const TextCanvasGuard&) = delete;
    TextCanvasGuard& operator=(const TextCanvasGuard&) = delete;

private:
    SurfaceInterface& surface_;
};

} // namespace

const char* SoundEffectPath(SoundEffect effect) {
    switch (effect) {
    case SoundEffect::Start: return "sounds/begin.wav";
    case SoundEffect::Eat: return "sounds/eat.wav";
    case SoundEffect::Level: return "sounds/level.wav";
    case SoundEffect::GameOver: return "sounds/over.wav";
    }
    return "sounds/begin.wav";
}

void PlayEffect(const GameState& state, SoundInterface& sound, SoundEffect effect) {
    if (state.SoundEnabled) sound.Play(SoundEffectPath(effect));
}

void PlaceAtStart(TSerpent& serpent) {
    serpent.Length = 5;
    for (int i = 1; i <= 5; ++i) serpent.Body[i] = {100, 375 + CellSize * i};
}

void NewGame(GameState& state, const GamePorts& ports) {
    state.Level = 1;
    ports.Timer->SetInterval(StartInterval);
    state.Serpent.Direction = HeadingUp;
    PlaceAtStart(state.Serpent);
    state.Food = StartFood;
    PlayEffect(state, *ports.Sound, SoundEffect::Start);
    state.Score = 0;
    ports.Caption->SetCaption(StartCaption());
    ports.Timer->SetEnabled(true);
}

void Tick(GameState& state, const GamePorts& ports) {
    TSerpent& serpent = state.Serpent;
    Turn(serpent, ports.Input->Poll());

    ports.Surface->Fill(0);
    ports.Surface->Draw(PictureBackground, 0, 0, 0);

    for (int i = UsedLength(serpent); i >= 2; --i) serpent.Body[i] = serpent.Body[i - 1];
    MoveHead(serpent);

    for (int i = 1; i <= UsedLength(serpent); ++i)
        ports.Surface->Draw(PictureBody, serpent.Body[i].X, serpent.Body[i].Y, 0);

    const TSegment head = serpent.Body[1];
    if (head.X < 0 || head.X > FieldMaxX || head.Y < 0 || head.Y > FieldMaxY) GameOver(state, ports);
    for (int i = 2; i <= UsedLength(serpent); ++i)
        if (serpent.Body[i] == head) GameOver(state, ports);

    if (head == state.Food) Eat(state, ports);

    ports.Surface->Draw(PictureFood, state.Food.X, state.Food.Y, 0);
    ports.Surface->Flip();
}

void GameOver(GameState& state, const GamePorts& ports) {
    PlayEffect(state, *ports.Sound, SoundEffect::GameOver);
    ports.Surface->Fill(0);
    ports.Surface->Draw(PictureBackground, 0, 0, 0);
    {
        const TextStyle style{true, "Arial", 255, 35};  // 255 is pure red (0x00BBGGRR)
        TextCanvasGuard canvas(*ports.Surface, style);
        ports.Surface->TextOut(100, 300, "GAME OVER!");
    }
    ports.Timer->SetEnabled(false);
}

} // namespace veltrix
