#include "app/status_model.h"

#include "base/datetime.h"
#include "base/numbers.h"
#include "base/paths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace harlune {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// Remaining times beyond this (about 31 years) are shown as this; it keeps absurd estimates
// (a handful of items measured at the start of a huge quadratic run) inside the date range.
constexpr double kMaxRemainingUnits = 1e9;

} // namespace

std::string formatTimePerItem(double units) {
    struct Scale {
        double below, factor;
        const char* unit;
    };
    static constexpr Scale scales[] = {
        {1e-9, 1e12, " ps"}, {1e-6, 1e9, " ns"}, {1e-3, 1e6, " us"}, {1, 1e3, " ms"}};
    for (const Scale& s : scales)
        if (units < s.below)
            return formatFixed(units * s.factor, 2) + s.unit;
    return formatFixed(units, 2) + " s";
}

std::string formatRemainingTime(double units) {
    if (units < kSecondsPerDay)
        return formatTimeHNS(fromDays(units / kSecondsPerDay));
    // One day is added and the result read as a date counted from 30.12.1899, whose day of
    // month then equals the number of whole days (up to 31).
    const CivilDateTime t = fromDays((units + kSecondsPerDay) / kSecondsPerDay);
    char day[8];
    std::snprintf(day, sizeof day, "%02d", t.day);
    return std::string(day) + "d " + formatTimeHNS(t);
}

void StatusModel::setaktion(std::string_view action) {
    if (!visible_)
        return;
    // Called several times per file: the text reuses its buffer.
    view_.action.assign(action);
    if (view_.action.size() < static_cast<size_t>(kStatusActionWidth))
        view_.action.resize(kStatusActionWidth, ' ');
    if (onActionShown)
        onActionShown();
}

bool StatusModel::pos(long long current, long long total, bool quadratic, std::string_view path) {
    const bool open = visible_;
    const double now = clock_.now();
    const size_t separator = path.find_last_of("/\\");
    view_.fileName.assign(separator == std::string_view::npos ? path : path.substr(separator + 1));

    if (current < 2) {
        view_.timePerItem = view_.rate = view_.remainingTime = kStatusNoValue;
        view_.speedBar = 0;
        lastCount_ = 0;
        lastTime_ = now;
        view_.log.clear();
    }

    // A total of 0 (nothing to do) shows an empty bar and 0 %, never a division by zero.
    if (total > 0) {
        view_.progressMaximum = total;
        view_.progressPosition = std::clamp(current, 0LL, total);
    } else {
        view_.progressMaximum = 1;
        view_.progressPosition = 0;
    }
    const double percent = total > 0 ? static_cast<double>(current) * 100.0 / total : 0.0;
    if (roundHalfEven(percent) >= 100)
        view_.applicationTitle = kApplicationTitle;
    else if (open)
        view_.applicationTitle = std::string(kApplicationTitle) + " (" +
                                 std::to_string(static_cast<long long>(std::trunc(percent))) + "%)";

    view_.total = total;
    view_.current = current;
    view_.remaining = total - current;

    const double elapsed = (now - lastTime_) * kStatusTimeUnitsPerDay;
    const long long n = current - lastCount_;
    // With no measurable time yet (elapsed 0) the fields wait for the next call instead of
    // dividing by zero.
    if (n >= 250 || (elapsed >= 30 && n > 10)) {
        if (elapsed > 0) {
            const double t = elapsed / static_cast<double>(n);
            view_.timePerItem = formatTimePerItem(t);
            const double rate = 60.0 / t;
            view_.rate = formatFixed(rate, 0);
            view_.speedBar =
                static_cast<int>(roundHalfEven(std::min<double>(kStatusSpeedBarMax, rate)));

            const double left = static_cast<double>(std::max(0LL, total - current));
            double remaining;
            std::string kind;
            if (quadratic) {
                // Each remaining item costs more than the one before it.
                setaktion(kStatusQuadraticBusy);
                const double s = left > 0 ? 0.1 * elapsed / left : 0.0;
                remaining = s * left * (left - 1) / 2;
                setaktion(kStatusQuadraticDone);
                kind = " (exp.)";
            } else {
                remaining = left * elapsed / static_cast<double>(n);
                kind = " (lin.)";
            }
            if (!(remaining >= 0))
                remaining = 0;
            remaining = std::min(remaining, kMaxRemainingUnits);
            view_.remainingTime = formatRemainingTime(remaining) + kind;
            lastTime_ = now;
            lastCount_ = current;
        } else if (elapsed < 0) {
            // The clock was set back: measure afresh from here.
            lastTime_ = now;
            lastCount_ = current;
        }
    }

    if (++calls_ % 5 == 0)
        view_.greenDot = !view_.greenDot;
    return open;
}

void StatusModel::addlog(std::string_view first, std::string_view second) {
    view_.log.emplace_back(first);
    std::string remark = ">";
    remark += second;
    view_.log.push_back(std::move(remark));
    view_.log.emplace_back();
}

void StatusModel::closeframe() {
    // Remarks in the log stay up until the user has read them and closes the window.
    if (view_.log.empty())
        close();
}

void StatusModel::close() {
    visible_ = false;
    view_.greenDot = true;
    view_.action = kStatusNoValue;
    view_.log.clear();
    view_.applicationTitle = kApplicationTitle;
    if (onActionShown)
        onActionShown();
}

std::string StatusModel::logText() const {
    std::string text;
    for (size_t i = 0; i < view_.log.size(); ++i) {
        if (i)
            text += '\n';
        text += view_.log[i];
    }
    return text;
}

} // namespace harlune
