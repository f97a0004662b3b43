#pragma once
// Dates and times. Points in time are counted as the stored formats and the progress
// arithmetic count them: days since 30.12.1899 00:00 local time, the fraction being the time
// of day (1 second = 1/86400).
#include <string>

namespace harlune {

struct CivilDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

double toDays(const CivilDateTime& t);
CivilDateTime fromDays(double days);

// The current local time and the local modification time of a file (utf-8 path); the latter
// returns false when the file's date cannot be read.
CivilDateTime nowLocal();
bool fileModified(const std::string& fsPathUtf8, CivilDateTime& out);

std::string formatDateDMY(const CivilDateTime& t); // "dd.mm.yyyy"
std::string formatTimeHNS(const CivilDateTime& t); // "hh:nn:ss"
std::string formatDateISO(const CivilDateTime& t); // "yyyy-mm-dd"

// The clock of the program; tests replace it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0; // local time in days
};

class SystemClock final : public Clock {
public:
    double now() const override;
};

} // namespace harlune
