#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>

#include "charges/ChargeProfile.h"
#include "charges/DateValue.h"
#include "charges/LocalZone.h"
#include "core/Currency.h"

namespace kestrelon {
// Failure messages show money as ten-thousandths.
inline void PrintTo(const Currency& value, std::ostream* out) {
    *out << value.tenThousandths << " ten-thousandths";
}
}  // namespace kestrelon

namespace kestrelon::test {

inline Currency Tt(std::int64_t tenThousandths) {
    return Currency{tenThousandths};
}
// Money from hundredths, e.g. Cents(150) = 1.50.
inline Currency Cents(std::int64_t hundredths) {
    return Currency{hundredths * 100};
}

inline double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return MakeDateValue(y, mo, d, h, mi, s);
}
inline double TimeOfDay(int h, int mi = 0) {
    return FromClockSeconds(h * 3600LL + mi * 60LL);
}

inline constexpr std::int32_t kMondayToFriday = 0b0111110;

inline ChargeProfile Profile(Currency start, Currency base,
                             std::initializer_list<RateWindow> windows = {}) {
    ChargeProfile p;
    p.Name = "Test";
    p.StartRate = start;
    p.BaseRate = base;
    for (const RateWindow& w : windows) {
        p.Window(++p.nItems) = w;
    }
    return p;
}

inline RateWindow Window(std::int32_t days, int fromHour, int fromMinute, int toHour, int toMinute,
                         Currency rate) {
    return RateWindow{days, TimeOfDay(fromHour, fromMinute), TimeOfDay(toHour, toMinute), rate};
}

// A clock that jumps forward by an hour at one reading (as on a spring change): readings from
// the change on are an hour ahead of real time; readings in the skipped hour count as before.
class ForwardChangeZone : public LocalZone {
  public:
    explicit ForwardChangeZone(double change) : change_(ToClockSeconds(change)) {}
    std::int64_t ToReal(std::int64_t c) const override {
        return c >= change_ + 3600 ? c - 3600 : c;
    }
    std::int64_t ToClock(std::int64_t r) const override { return r >= change_ ? r + 3600 : r; }

  private:
    std::int64_t change_;
};

}  // namespace kestrelon::test
