#pragma once
// The status window of long operations (`Tstatusframe`) without the drawing: counts, speed,
// remaining time, the current action, the log of remarks and whether the user has closed it.
// A window renders `view()` after each call; loops call `pos` once per item and stop when it
// returns false.
#include "platform/progress.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

class Clock;

// Texts of the window.
inline constexpr const char* kStatusCaption = "Lese MP3's - Bitte warten";
inline constexpr const char* kStatusLabelTotal = "zu verarbeitende Dateien:";
inline constexpr const char* kStatusLabelCurrent = "davon schon verarbeitet:";
inline constexpr const char* kStatusLabelRemaining = "=> verbleibende Dateien:";
inline constexpr const char* kStatusLabelTimePerItem = "Dauer pro MP3:";
inline constexpr const char* kStatusLabelRate = "MP3s pro Minute:";
inline constexpr const char* kStatusLabelRemainingTime = "Restzeit:";
inline constexpr const char* kStatusRemainingTimePrefix = "ca.";
inline constexpr const char* kStatusLabelAction = "aktuelle Aktion:";
inline constexpr const char* kStatusCloseButton = "schlie\xDF"
                                                  "en";
// A field that has no value yet.
inline constexpr const char* kStatusNoValue = "--";
// The application title; with a percentage while an operation runs.
inline constexpr const char* kApplicationTitle = "Harlune";
// Shown as the action while the quadratic estimate is computed, and after it.
inline constexpr const char* kStatusQuadraticBusy = "int. Verarbeitung";
inline constexpr const char* kStatusQuadraticDone = "- -";

inline constexpr int kStatusActionWidth = 100; // the action text is padded to this many chars
inline constexpr int kStatusSpeedBarMax = 10000;

// Time is measured in units of 1/100000 day (0.864 s), which the window then shows as if they
// were seconds; stored speed figures and users' expectations are built on this unit.
inline constexpr double kStatusTimeUnitsPerDay = 100000.0;

// What the window shows.
struct StatusView {
    long long total = 0, current = 0, remaining = 0;
    long long progressPosition = 0, progressMaximum = 1;
    std::string fileName;
    std::string timePerItem = kStatusNoValue;
    std::string rate = kStatusNoValue;
    std::string remainingTime = kStatusNoValue;
    int speedBar = 0;
    std::string action = kStatusNoValue;
    std::vector<std::string> log;
    bool greenDot = true; // the red dot shows when the green one does not
    std::string applicationTitle = kApplicationTitle;
};

// "8.00 ms": two decimals and a unit chosen by size (s, ms, us, ns, ps).
std::string formatTimePerItem(double units);
// "hh:nn:ss" below one day, else day of month, "d", a blank and "hh:nn:ss" (see .cpp).
std::string formatRemainingTime(double units);

class StatusModel : public Progress {
public:
    explicit StatusModel(const Clock& clock) : clock_(clock) {}

    void show() override { visible_ = true; }
    void setaktion(std::string_view action) override;
    bool pos(long long current, long long total, bool quadratic, std::string_view path) override;
    void addlog(std::string_view first, std::string_view second) override;
    void closeframe() override;

    // The user closed the window ("schließen" or the window's own close).
    void close();

    bool visible() const { return visible_; }
    const StatusView& view() const { return view_; }
    // The log box's lines joined by "\n".
    std::string logText() const;

    // Called whenever the action text changes, so that the window repaints it at once.
    std::function<void()> onActionShown;

private:
    const Clock& clock_;
    StatusView view_;
    bool visible_ = false;
    long long lastCount_ = 0;
    double lastTime_ = 0;
    long long calls_ = 0;
};

} // namespace harlune
