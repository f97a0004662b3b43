#include "base/datetime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <sys/stat.h>

namespace harlune {
namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian), after H. Hinnant.
long long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy =
        (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

constexpr long long kEpochOffset = 25569; // 1970-01-01 as a day count from 1899-12-30

CivilDateTime fromTm(const std::tm& tm, int ms) {
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, ms};
}

std::string format3(const char* fmt, int a, int b, int c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

} // namespace

double toDays(const CivilDateTime& t) {
    double date = static_cast<double>(daysFromCivil(t.year, t.month, t.day) + kEpochOffset);
    double time = ((t.hour * 60.0 + t.minute) * 60.0 + t.second + t.millisecond / 1000.0) / 86400.0;
    return date + time;
}

CivilDateTime fromDays(double days) {
    // Whole milliseconds, rounded, as the time of day; the date is the integral part.
    double whole = std::floor(days);
    long long ms = std::llround((days - whole) * 86400000.0);
    long long day = static_cast<long long>(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++day;
    }
    CivilDateTime t;
    civilFromDays(day - kEpochOffset, t.year, t.month, t.day);
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

CivilDateTime nowLocal() {
    auto now = std::chrono::system_clock::now();
    std::time_t secs = std::chrono::system_clock::to_time_t(now);
    int ms = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000);
    std::tm tm{};
    localtime_r(&secs, &tm);
    return fromTm(tm, ms);
}

bool fileModified(const std::string& fsPathUtf8, CivilDateTime& out) {
    struct stat st {};
    if (::stat(fsPathUtf8.c_str(), &st) != 0)
        return false;
    std::tm tm{};
    if (!localtime_r(&st.st_mtime, &tm))
        return false;
    out = fromTm(tm, 0);
    return true;
}

std::string formatDateDMY(const CivilDateTime& t) {
    return format3("%02d.%02d.%04d", t.day, t.month, t.year);
}
std::string formatTimeHNS(const CivilDateTime& t) {
    return format3("%02d:%02d:%02d", t.hour, t.minute, t.second);
}
std::string formatDateISO(const CivilDateTime& t) {
    return format3("%04d-%02d-%02d", t.year, t.month, t.day);
}

double SystemClock::now() const {
    return toDays(nowLocal());
}

} // namespace harlune
