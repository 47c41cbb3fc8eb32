#include "camera/seat_query.h"

namespace vantor {

SeatInfo QuerySeatInfo(int32_t, int32_t, bool) { return SeatInfo{}; }

}  // namespace vantor
