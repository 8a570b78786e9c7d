#include "foundation/local_time.h"

#include <cstring>
#include <ctime>

namespace {

std::tm now() {
    std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

std::size_t formatNow(char* buffer, std::size_t size, const char* format) {
    if (!buffer || size == 0) return 0;
    std::tm local = now();
    std::size_t written = std::strftime(buffer, size, format, &local);
    if (written == 0) buffer[0] = '\0';
    buffer[size - 1] = '\0';
    return written;
}

constexpr std::size_t kDateLength = 10;      // "%Y-%m-%d"
constexpr std::size_t kDateTimeLength = 19;  // "%Y-%m-%d %H:%M:%S"

} // namespace

int get_current_year() { return now().tm_year + 1900; }
int get_current_month() { return now().tm_mon + 1; }
int get_current_day() { return now().tm_mday; }
int get_current_hour() { return now().tm_hour; }
int get_current_minute() { return now().tm_min; }
int get_current_second() { return now().tm_sec; }

std::size_t format_local_datetime(char* buffer, std::size_t size) {
    return formatNow(buffer, size, "%Y-%m-%d %H:%M:%S");
}

std::size_t format_local_date(char* buffer, std::size_t size) {
    if (!buffer || size <= kDateLength) return kDateTimeLength;
    return formatNow(buffer, size, "%Y-%m-%d");
}

std::size_t format_local_time(char* buffer, std::size_t size) {
    return formatNow(buffer, size, "%H:%M:%S");
}
