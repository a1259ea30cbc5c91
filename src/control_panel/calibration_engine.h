// The calibration engine: four touches on known screen positions become the six raw
// reference values (CalibrationData) and the orientation byte (PanelDirection) the touch
// driver maps raw coordinates with.
//
// The engine owns the target geometry and the cross marks, the capture of a stable raw
// point, the panel direction detection and the two four-point methods. The full-screen
// calibration form owns the window, the keys and the final question; it implements
// CalibrationScreen for the engine and drives a run:
//
//     engine.BeginCalibrationRun();
//     if (engine.CalibrateCorners() == kCalibrationOk) {
//         engine.ApplyNewCalibration();      // the user can try it at once
//         if (answer == vbNo) engine.RestoreOldCalibration();
//     }
//
// The engine's state lives as long as its owner (the form object, one per program), so the
// captured points and the saved calibration survive from one run to the next.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/driver_link.h"
#include "ui/types.h"

namespace qm {

// Raw controller coordinates run 0..1023 on both axes.
inline constexpr int kRawMiddle = 512;
inline constexpr int kRawMax = 1023;

// Results of a capture and of a method.
inline constexpr int kCalibrationOk = 0;       // point taken / new calibration ready
inline constexpr int kCalibrationStopped = 1;  // broken off, or direction not recognised

// Calibration state codes sent with IOCTL_TOUCH_SET_CALIBRATION_STATE.
inline constexpr std::int32_t kCalibrationStateIdle = 0;
inline constexpr std::int32_t kCalibrationStateWaitLiftOff = 3;
inline constexpr std::int32_t kCalibrationStateBroken = 4;
inline constexpr std::int32_t kCalibrationStatePointTaken = 5;

// Bit 3 of RawStatus: the panel is touched.
inline constexpr std::uint8_t kRawTouchedBit = 0x08;

// Colours of a cross mark; erasing draws all of it in white.
inline constexpr ui::Color kTargetBoxColor = ui::Rgb(255, 0, 0);
inline constexpr ui::Color kTargetLineColor = ui::Rgb(0, 0, 0);
inline constexpr ui::Color kTargetEraseColor = ui::Rgb(255, 255, 255);

// PanelDirection bits.
inline constexpr std::uint8_t kDirectionXInverted = 1;
inline constexpr std::uint8_t kDirectionYInverted = 2;
inline constexpr std::uint8_t kDirectionSwapped = 4;
inline constexpr std::uint8_t kNoDirection = 255;

inline constexpr std::string_view kDirectionErrorTitle = "Touchscreen Calibration";

// The drawing surface in pixels; left and top are 0.
struct SurfaceGeometry {
    int SurfaceRight = 0;
    int SurfaceBottom = 0;
    int SurfaceCenterX = 0;
    int SurfaceCenterY = 0;
    int TargetMarginX = 16;
    int TargetMarginY = 16;
    bool operator==(const SurfaceGeometry&) const = default;
};

// Geometry of a surface of this inner size: right = width - 1, bottom = height - 1, centres
// at size / 2 - 1 taken to the nearest integer (a half goes to the even neighbour).
SurfaceGeometry SurfaceGeometryFor(int widthPixels, int heightPixels);

enum class TargetColumn { Left, Right, Centre };
enum class TargetRow { Top, Bottom, Middle };

struct CalibrationTarget {
    int index;
    std::string_view placeName;  // shown between "show on the " and " of the screen"
    TargetColumn column;
    TargetRow row;
};

// Targets 1..4 are the corner method's, 5..8 the edge method's; nullptr for other indexes.
const CalibrationTarget* FindTarget(int index);

// A target's box span and cross centre on the surface.
struct TargetMark {
    int x1 = 0, cx = 0, x2 = 0;  // box from, centre, box to
    int y1 = 0, cy = 0, y2 = 0;
    bool operator==(const TargetMark&) const = default;
};
std::optional<TargetMark> TargetMarkFor(int index, const SurfaceGeometry& geometry);

// Direction value of an 8-character pattern: 0..3, or kNoDirection when it matches none.
std::uint8_t MatchDirectionPattern(std::string_view pattern);

enum class CalibrationMethod {
    Corners,  // CalibrationMode 0, targets 1..4
    Edges,    // CalibrationMode 1, targets 5..8
};

// What the engine needs from the calibration form.
class CalibrationScreen {
  public:
    virtual ~CalibrationScreen() = default;

    // Drawing on the full-screen surface, in pixels, one pixel wide, both ends included; the
    // rectangle is an outline.
    virtual void DrawLine(int x1, int y1, int x2, int y2, ui::Color color) = 0;
    virtual void DrawRectangle(int x1, int y1, int x2, int y2, ui::Color color) = 0;

    // The message panel and the touch indicator.
    virtual void ShowTouchPrompt(const std::string& placeName) = 0;
    virtual void ShowLiftOffPrompt(const std::string& text) = 0;
    virtual void SetTouchIndicator(bool on) = 0;

    // Lets pending window events run; the Esc handler may set BreakRequested meanwhile.
    virtual void DoEvents() = 0;

    // For the unrecognised-direction message: the cursor comes back for the box.
    virtual void ShowMouseCursor() = 0;
    virtual void HideMouseCursor() = 0;
    virtual void ErrorBox(const std::string& text, const std::string& title) = 0;
};

// Six raw values in the order of CalibrationData: X left, X centre, X right, Y top,
// Y centre, Y bottom.
using CalibrationValues = std::array<std::int16_t, 6>;

class CalibrationEngine {
  public:
    CalibrationEngine(DriverLink& link, CalibrationScreen& screen);
    CalibrationEngine(const CalibrationEngine&) = delete;
    CalibrationEngine& operator=(const CalibrationEngine&) = delete;

    // Set by the form's layout from the surface's inner size in pixels.
    void SetSurfaceSize(int widthPixels, int heightPixels);
    const SurfaceGeometry& Geometry() const { return geometry_; }

    // Clears the captured points and CurrentTarget, reads the display rotation and saves the
    // calibration in force.
    void BeginCalibrationRun();

    // Draws (visible) or erases the cross mark of target 1..8; other indexes draw nothing.
    void DrawTarget(int index, bool visible);

    // Shows the target, waits for a stable touch, stores it at `index` and waits for lift-off.
    // kCalibrationOk when the point was taken and the finger lifted, kCalibrationStopped when
    // the user broke off the run (state code 4 sent).
    int CaptureTarget(int index, const std::string& placeName);

    // The two four-point methods: kCalibrationOk when NewCalibration and NewDirection are
    // ready, kCalibrationStopped when nothing may be handed to the driver.
    int CalibrateCorners();
    int CalibrateEdges();

    // Reorders the method's four points for the rotation code of the last vr state read. A
    // code outside 0..3 counts as 0 and is written back as 0.
    void RemapForRotation(CalibrationMethod method);
    // Finds NewDirection from the method's points, swapping X and Y when only the swapped
    // points match (the swap stays in the arrays); false, after the error box, when neither
    // orientation matches.
    bool DetectPanelDirection(CalibrationMethod method);
    std::string BuildDirectionPattern(CalibrationMethod method) const;

    // Write the new / saved values into the block and send it with the calibration request.
    void ApplyNewCalibration();
    void RestoreOldCalibration();

    // Engine state. Indexes 1..8 of the arrays hold the raw point captured for the target of
    // that index; 0 and 9..25 are never used.
    std::array<std::int16_t, 26> CapturedX{};
    std::array<std::int16_t, 26> CapturedY{};
    int CurrentTarget = 0;  // target whose cross mark is on display; 0 for none
    bool BreakRequested = false;
    CalibrationValues SavedCalibration{};
    std::uint8_t SavedDirection = 0;
    CalibrationValues NewCalibration{};
    std::uint8_t NewDirection = 0;

  private:
    int Calibrate(CalibrationMethod method);
    void SendCalibration(const CalibrationValues& values, std::uint8_t direction);

    DriverLink& link_;
    CalibrationScreen& screen_;
    SurfaceGeometry geometry_{};
};

}  // namespace qm
