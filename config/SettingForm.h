// The settings dialog without its window: what its controls show, the range checks of OK, the
// enabling rules, taking the values over, and the threshold inputs' texts.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/Settings.h"

// What the operator can change, as the controls hold it. A radio set's position is -1 when none
// of its buttons is ticked, and so is a list without selection.
struct SettingForm {
    std::string saveDirectory;
    int timeSel = 0;                        // 0..3; 3 = the own value in ownTime
    std::string ownTime;
    bool accAuto = false;
    int accSel = 0;                         // 0..7; 7 = the own value in ownAcc
    int acczSel = 0;
    std::string ownAcc;
    std::string ownAccz;
    std::string beforTime;
    std::string afterTime;
    std::string valXY;
    std::string valZ;
    std::array<std::string, 4> thresholds;  // P, N1, N2, N3
    bool psd = false;
    int windowType = 0;
    bool hipass = false;
    std::string hipassFilter;
    int xType = 0;
};

// Texts the dialog shows but does not take back.
struct SettingCaptions {
    std::array<std::string, 3> time;   // display-time radios, "%5.1f"
    std::array<std::string, 7> acc;    // 加速度 radios, "%5.1f"
    std::array<std::string, 7> accz;   // 加速度Ｚ radios
    std::array<std::string, 3> kanzan; // conversion factors X, Y, Z
    std::string bit;                   // "[16 bit]"
    std::string kanzanLabel;           // "換算値 測定値(gal)=(AD値-32768)×換算値"
    std::string maxnum;                // [SPEC] SAVEDATA_MAXNUM
};

// The controls' contents for a settings record.
[[nodiscard]] SettingForm FormFromSettings(const Settings& s);
[[nodiscard]] SettingCaptions CaptionsFromSettings(const Settings& s);
// The note under the conversion factors, naming the INI file after the program's file name
// (`modulePath` may hold a folder; its extension becomes ".Ini").
[[nodiscard]] std::string KanzanNote(const std::string& modulePath);

// A number as the dialog reads its edits: the leading decimal number of the text (at most its
// first 255 characters); 0 when there is none.
[[nodiscard]] double FormNumber(const std::string& text);

// A value OK refuses: its message and the control that holds it.
struct RangeError {
    const char* message;
    int control;
};
// The first value OK refuses, in the order the checks run; none when all pass.
[[nodiscard]] std::optional<RangeError> FirstRangeError(const SettingForm& form);
// The threshold checks alone (also made before a threshold write).
[[nodiscard]] std::optional<RangeError> FirstThresholdError(const std::array<std::string, 4>& thresholds);

// Takes the form's values into the record (everything but the port).
void TakeForm(const SettingForm& form, Settings& s);

// The text an input shows after it lost the focus: P (index 0) to one decimal, N1..N3 rounded
// to whole numbers.
[[nodiscard]] std::string RoundedThresholdText(int index, const std::string& text);
// What the "[装置]" fields show for the recorder's values (P in tenths of a gal).
[[nodiscard]] std::array<std::string, 4> DeviceThresholdTexts(const std::array<int, 4>& values);
// The command's values for the inputs: P in tenths of a gal, N1..N3 in gal, truncated.
[[nodiscard]] std::array<int, 4> ThresholdCommandValues(const std::array<std::string, 4>& thresholds);
// The question before a threshold write, from the "[装置]" texts and the inputs.
[[nodiscard]] std::string ThresholdWriteQuestion(const std::array<std::string, 4>& device,
                                                 const std::array<std::string, 4>& inputs);

// Enabling: pairs of control id and whether it is enabled, applied in order (a later pair for
// the same control wins).
using EnableList = std::vector<std::pair<int, bool>>;
// "処理" ticked or not: the PSD controls; when ticked, the filter rule follows.
[[nodiscard]] EnableList PsdRule(bool psd, bool hipass);
// The high-pass edit and its unit follow "ﾊｲﾊﾟｽﾌｨﾙﾀ".
[[nodiscard]] EnableList FilterRule(bool hipass);
// The own display time is editable while its radio is ticked.
[[nodiscard]] EnableList DisplayTimeRule(int timeSel);
// Scale radios without auto scale; an own value while its radio is ticked and auto scale is off.
[[nodiscard]] EnableList ScaleRule(bool accAuto, int accSel, int acczSel);
// A radio of one scale set clicked: its own value is editable exactly when its eighth is ticked.
[[nodiscard]] EnableList AccRadioRule(int accSel);
[[nodiscard]] EnableList AcczRadioRule(int acczSel);
// The threshold inputs and both threshold buttons follow [SHIKI] VAL_CHANGE.
[[nodiscard]] EnableList ThresholdRule(int valChange);
// The whole enabling after the controls were filled, in the order the filling applies it.
[[nodiscard]] EnableList InitialEnabling(const SettingForm& form, int valChange);

// Control ids of the radio sets, in position order.
extern const std::array<int, 4> kTimeRadios;
extern const std::array<int, 8> kAccRadios;
extern const std::array<int, 8> kAcczRadios;
extern const std::array<int, 6> kXTypeRadios;
extern const std::array<int, 4> kThresholdInputs;
extern const std::array<int, 4> kDeviceFields;

// The window-function list's entries, index = [PSD] WINDOW_TYPE.
extern const std::array<const char*, 5> kWindowTypeNames;

// How much narrower the simple form is than the detailed one, in pixels.
constexpr int kSimpleFormNarrowing = 440;
// The four buttons that follow the dialog's right edge: version, defaults, OK, キャンセル.
extern const std::array<int, 4> kMovingButtons;
// Separator lines: drawn across the dialog this many pixels above the control's top edge.
extern const std::array<std::pair<int, int>, 7> kSeparators;
// The form switch's caption: the form the button leads to.
[[nodiscard]] const char* FormSwitchCaption(int settingWindowType);

// Messages.
extern const char* const kTextDefaultsQuestion;     // "デフォルト値に戻します。よろしいですか？"
extern const char* const kTextReadBeforeWrite;      // "転送前に必ずモニターをしてください。"
extern const char* const kTextBrowseTitle;          // "データ保存フォルダの選択"
