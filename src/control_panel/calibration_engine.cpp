#include "control_panel/calibration_engine.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "common/classic.h"

namespace qm {

namespace {

constexpr std::array<CalibrationTarget, 8> kTargets{{
    {1, "TOP-LEFT", TargetColumn::Left, TargetRow::Top},
    {2, "TOP-RIGHT", TargetColumn::Right, TargetRow::Top},
    {3, "DOWN-RIGHT", TargetColumn::Right, TargetRow::Bottom},
    {4, "DOWN-LEFT", TargetColumn::Left, TargetRow::Bottom},
    {5, "TOP", TargetColumn::Centre, TargetRow::Top},
    {6, "RIGHT", TargetColumn::Right, TargetRow::Middle},
    {7, "DOWN", TargetColumn::Centre, TargetRow::Bottom},
    {8, "LEFT", TargetColumn::Left, TargetRow::Middle},
}};

constexpr std::array<std::string_view, 4> kDirectionPatterns{
    "00101101",  // raw axes run like the screen axes
    "10000111",  // X inverted
    "01111000",  // Y inverted
    "11010010",  // X and Y inverted
};

// For each rotation code, which captured point (0-based within the method) becomes the
// first, second, third and fourth point.
constexpr std::array<std::array<int, 4>, 4> kRotationOrder{{
    {0, 1, 2, 3},
    {3, 0, 1, 2},
    {1, 2, 3, 0},
    {2, 3, 0, 1},
}};

// One axis of a target: box from, centre, box to.
struct Span {
    int from, centre, to;
};

Span NearSpan(int margin) { return {0, margin - 1, 2 * margin - 1}; }
Span FarSpan(int last, int margin) { return {last - 2 * margin - 1, last - margin - 1, last}; }
Span MiddleSpan(int middle, int margin) {
    return {middle - margin - 1, middle, middle + margin - 1};
}

// The driver's fields are 16 bits wide. Unclamped sides can only leave that range on input
// the direction patterns rule out; they saturate there instead of wrapping.
std::int16_t ToInt16(std::int64_t v) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::int16_t Mirror(std::int16_t v) { return ToInt16(kRawMax - static_cast<std::int64_t>(v)); }

// Only these four bounds apply; the centres are used as they are.
CalibrationValues Clamped(std::int64_t xl, int xc, std::int64_t xr, std::int64_t yt, int yc,
                          std::int64_t yb) {
    xl = std::max<std::int64_t>(xl, 0);
    xr = std::min<std::int64_t>(xr, kRawMax);
    yt = std::max<std::int64_t>(yt, 0);
    yb = std::min<std::int64_t>(yb, kRawMax);
    return {ToInt16(xl), ToInt16(xc), ToInt16(xr), ToInt16(yt), ToInt16(yc), ToInt16(yb)};
}

std::size_t FirstIndex(CalibrationMethod method) {
    return method == CalibrationMethod::Corners ? 1 : 5;
}

char Half(std::int16_t v) { return v < kRawMiddle ? '0' : '1'; }

}  // namespace

SurfaceGeometry SurfaceGeometryFor(int widthPixels, int heightPixels) {
    SurfaceGeometry g;
    g.SurfaceRight = widthPixels - 1;
    g.SurfaceBottom = heightPixels - 1;
    g.SurfaceCenterX = RoundHalfEven(widthPixels / 2.0 - 1);
    g.SurfaceCenterY = RoundHalfEven(heightPixels / 2.0 - 1);
    return g;
}

const CalibrationTarget* FindTarget(int index) {
    if (index < 1 || index > static_cast<int>(kTargets.size())) return nullptr;
    return &kTargets[static_cast<std::size_t>(index - 1)];
}

std::optional<TargetMark> TargetMarkFor(int index, const SurfaceGeometry& g) {
    const CalibrationTarget* target = FindTarget(index);
    if (!target) return std::nullopt;
    Span x{}, y{};
    switch (target->column) {
        case TargetColumn::Left:
            x = NearSpan(g.TargetMarginX);
            break;
        case TargetColumn::Right:
            x = FarSpan(g.SurfaceRight, g.TargetMarginX);
            break;
        case TargetColumn::Centre:
            x = MiddleSpan(g.SurfaceCenterX, g.TargetMarginX);
            break;
    }
    switch (target->row) {
        case TargetRow::Top:
            y = NearSpan(g.TargetMarginY);
            break;
        case TargetRow::Bottom:
            y = FarSpan(g.SurfaceBottom, g.TargetMarginY);
            break;
        case TargetRow::Middle:
            y = MiddleSpan(g.SurfaceCenterY, g.TargetMarginY);
            break;
    }
    return TargetMark{x.from, x.centre, x.to, y.from, y.centre, y.to};
}

std::uint8_t MatchDirectionPattern(std::string_view pattern) {
    for (std::size_t i = 0; i < kDirectionPatterns.size(); ++i) {
        if (pattern == kDirectionPatterns[i]) return static_cast<std::uint8_t>(i);
    }
    return kNoDirection;
}

CalibrationEngine::CalibrationEngine(DriverLink& link, CalibrationScreen& screen)
    : link_(link), screen_(screen) {}

void CalibrationEngine::SetSurfaceSize(int widthPixels, int heightPixels) {
    geometry_ = SurfaceGeometryFor(widthPixels, heightPixels);
}

void CalibrationEngine::BeginCalibrationRun() {
    std::fill(CapturedX.begin() + 1, CapturedX.end(), std::int16_t{0});
    std::fill(CapturedY.begin() + 1, CapturedY.end(), std::int16_t{0});
    CurrentTarget = 0;
    link_.GetVrState();
    SavedCalibration = link_.Block().CalibrationData;
    SavedDirection = link_.Block().PanelDirection;
}

void CalibrationEngine::DrawTarget(int index, bool visible) {
    const std::optional<TargetMark> m = TargetMarkFor(index, geometry_);
    if (!m) return;
    const ui::Color box = visible ? kTargetBoxColor : kTargetEraseColor;
    const ui::Color line = visible ? kTargetLineColor : kTargetEraseColor;
    screen_.DrawRectangle(m->x1, m->y1, m->x2, m->y2, box);
    screen_.DrawLine(m->x1, m->cy, m->x2, m->cy, line);
    screen_.DrawLine(m->cx, m->y1, m->cx, m->y2, line);
}

int CalibrationEngine::CaptureTarget(int index, const std::string& placeName) {
    DrawTarget(index, true);
    CurrentTarget = index;
    screen_.ShowTouchPrompt(placeName);
    screen_.DoEvents();

    std::int16_t lastCount = 0;
    bool taken = false;
    bool broken = false;
    bool indicatorReset = true;
    while (!taken && !broken) {
        // A new touch: nothing of an earlier one counts.
        if (indicatorReset) screen_.SetTouchIndicator(false);
        int StableCountdown = 2;
        std::int16_t lx = 0, ly = 0;
        bool touched = false;
        for (;;) {
            link_.GetRawPoint();
            const RawPointBuffer raw = link_.RawPoint();
            if ((raw.RawStatus & kRawTouchedBit) == 0) {
                lastCount = raw.SampleCount;
                screen_.DoEvents();
                broken = BreakRequested;
                // A finger that left before its point was taken starts the target over.
                indicatorReset = touched;
                break;
            }
            if (!touched) {
                touched = true;
                screen_.SetTouchIndicator(true);
                screen_.DoEvents();
            }
            if (raw.RawX != lx || raw.RawY != ly) {
                lx = raw.RawX;
                ly = raw.RawY;
                StableCountdown = 2;
                continue;
            }
            if (raw.SampleCount != lastCount) {
                lastCount = raw.SampleCount;
                --StableCountdown;
            }
            // No window events run while the panel is held.
            if (StableCountdown > 0) continue;
            if (index >= 0 && static_cast<std::size_t>(index) < CapturedX.size()) {
                CapturedX[static_cast<std::size_t>(index)] = raw.RawX;
                CapturedY[static_cast<std::size_t>(index)] = raw.RawY;
            }
            taken = true;
            break;
        }
    }

    int result = broken ? kCalibrationStopped : kCalibrationOk;
    if (taken) {
        link_.SetCalibrationState(kCalibrationStatePointTaken);
        DrawTarget(index, false);
        CurrentTarget = 0;
        screen_.ShowLiftOffPrompt("NEXT STEP!");
        for (;;) {
            link_.GetRawPoint();
            if ((link_.RawPoint().RawStatus & kRawTouchedBit) == 0) {
                screen_.SetTouchIndicator(false);
                result = kCalibrationOk;
                break;
            }
            screen_.DoEvents();
            if (BreakRequested) {
                result = kCalibrationStopped;
                break;
            }
        }
    }
    if (result == kCalibrationStopped) link_.SetCalibrationState(kCalibrationStateBroken);
    return result;
}

void CalibrationEngine::RemapForRotation(CalibrationMethod method) {
    std::int16_t& rotation = link_.VrState().Rotation;
    if (rotation < 0 || rotation > 3) rotation = 0;
    const auto& order = kRotationOrder[static_cast<std::size_t>(rotation)];
    const std::size_t first = FirstIndex(method);
    // A point moves with both its coordinates.
    std::array<std::int16_t, 4> x{}, y{};
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t from = first + static_cast<std::size_t>(order[k]);
        x[k] = CapturedX[from];
        y[k] = CapturedY[from];
    }
    for (std::size_t k = 0; k < 4; ++k) {
        CapturedX[first + k] = x[k];
        CapturedY[first + k] = y[k];
    }
}

std::string CalibrationEngine::BuildDirectionPattern(CalibrationMethod method) const {
    std::array<std::pair<std::int16_t, std::int16_t>, 4> corners{};
    if (method == CalibrationMethod::Corners) {
        for (std::size_t i = 0; i < 4; ++i) corners[i] = {CapturedX[i + 1], CapturedY[i + 1]};
    } else {
        // The virtual corners top-left, top-right, bottom-right, bottom-left built from the
        // LEFT (8), RIGHT (6), TOP (5) and DOWN (7) points.
        corners = {{{CapturedX[8], CapturedY[5]},
                    {CapturedX[6], CapturedY[5]},
                    {CapturedX[6], CapturedY[7]},
                    {CapturedX[8], CapturedY[7]}}};
    }
    std::string pattern;
    for (const auto& [x, y] : corners) {
        pattern += Half(x);
        pattern += Half(y);
    }
    return pattern;
}

bool CalibrationEngine::DetectPanelDirection(CalibrationMethod method) {
    const std::string first = BuildDirectionPattern(method);
    std::uint8_t v = MatchDirectionPattern(first);
    if (v != kNoDirection) {
        NewDirection = v;
        return true;
    }
    const std::size_t from = FirstIndex(method);
    for (std::size_t i = from; i < from + 4; ++i) std::swap(CapturedX[i], CapturedY[i]);
    const std::string second = BuildDirectionPattern(method);
    v = MatchDirectionPattern(second);
    if (v != kNoDirection) {
        NewDirection = static_cast<std::uint8_t>(v + kDirectionSwapped);
        return true;
    }
    screen_.ShowMouseCursor();
    screen_.ErrorBox("Incorrect Panel Direction! (" + first + "-" + second +
                         ")\r\n\r\nPlease checkout the pinout of your touch panel.",
                     std::string(kDirectionErrorTitle));
    screen_.HideMouseCursor();
    return false;
}

int CalibrationEngine::CalibrateCorners() { return Calibrate(CalibrationMethod::Corners); }

int CalibrationEngine::CalibrateEdges() { return Calibrate(CalibrationMethod::Edges); }

int CalibrationEngine::Calibrate(CalibrationMethod method) {
    const std::size_t first = FirstIndex(method);
    for (std::size_t i = first; i < first + 4; ++i) {
        const int index = static_cast<int>(i);
        if (CaptureTarget(index, std::string(FindTarget(index)->placeName)) != kCalibrationOk)
            return kCalibrationStopped;
    }
    RemapForRotation(method);
    if (!DetectPanelDirection(method)) return kCalibrationStopped;

    // Turn the points to screen orientation: Y first, then X.
    for (std::size_t i = first; i < first + 4; ++i) {
        if (NewDirection & kDirectionYInverted) CapturedY[i] = Mirror(CapturedY[i]);
    }
    for (std::size_t i = first; i < first + 4; ++i) {
        if (NewDirection & kDirectionXInverted) CapturedX[i] = Mirror(CapturedX[i]);
    }

    const DriverParameterBlock& block = link_.Block();
    const double w = block.ScreenWidth, h = block.ScreenHeight;
    const double mx = geometry_.TargetMarginX, my = geometry_.TargetMarginY;
    auto X = [&](std::size_t i) { return static_cast<int>(CapturedX[i]); };
    auto Y = [&](std::size_t i) { return static_cast<int>(CapturedY[i]); };

    if (method == CalibrationMethod::Corners) {
        // Each edge is the average of its two corners (integer division truncates toward 0).
        const int xl = (X(1) + X(4)) / 2, xr = (X(2) + X(3)) / 2;
        const int yt = (Y(1) + Y(2)) / 2, yb = (Y(3) + Y(4)) / 2;
        const int xc = xl + (xr - xl) / 2, yc = yt + (yb - yt) / 2;
        // The crosses sit one margin inside the screen edges: extend the span by that much.
        const double dx = (xr - xl + 1) / (w - 2 * mx) * mx;
        const double dy = (yb - yt + 1) / (h - 2 * my) * my;
        NewCalibration = Clamped(RoundHalfEven(xl - dx), xc, RoundHalfEven(xr + dx),
                                 RoundHalfEven(yt - dy), yc, RoundHalfEven(yb + dy));
    } else {
        // Edges are single points; the centres are measured.
        const int xl = X(8), xr = X(6), yt = Y(5), yb = Y(7);
        const int xc = (X(5) + X(7)) / 2, yc = (Y(6) + Y(8)) / 2;
        // Each half of an axis is extended on its own; an odd screen size gives a half pixel.
        const double spanX = w / 2 - 2 * mx, spanY = h / 2 - 2 * my;
        const double dxl = (xc - xl + 1) / spanX * mx, dxr = (xr - xc + 1) / spanX * mx;
        const double dyt = (yc - yt + 1) / spanY * my, dyb = (yb - yc + 1) / spanY * my;
        NewCalibration = Clamped(RoundHalfEven(xl - dxl), xc, RoundHalfEven(xr + dxr),
                                 RoundHalfEven(yt - dyt), yc, RoundHalfEven(yb + dyb));
    }
    return kCalibrationOk;
}

void CalibrationEngine::SendCalibration(const CalibrationValues& values, std::uint8_t direction) {
    DriverParameterBlock& block = link_.Block();
    block.CalibrationData = values;
    block.PanelDirection = direction;
    link_.SetCalibration();
}

void CalibrationEngine::ApplyNewCalibration() { SendCalibration(NewCalibration, NewDirection); }

void CalibrationEngine::RestoreOldCalibration() {
    SendCalibration(SavedCalibration, SavedDirection);
}

}  // namespace qm
