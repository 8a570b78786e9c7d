// The local date and time as numbers and as texts.
#pragma once

#include <cstddef>

int get_current_year();
int get_current_month();   // 1 to 12
int get_current_day();
int get_current_hour();    // 0 to 23
int get_current_minute();
int get_current_second();

// "%Y-%m-%d %H:%M:%S" into buffer (size bytes, always terminated when size
// is not 0); returns the characters written, 0 when it does not fit.
std::size_t format_local_datetime(char* buffer, std::size_t size);
// "%Y-%m-%d" when the buffer holds it with its terminator (11 bytes or more)
// and returns 10; otherwise writes nothing and returns 19, the length of the
// full date and time text.
std::size_t format_local_date(char* buffer, std::size_t size);
// "%H:%M:%S", as format_local_datetime.
std::size_t format_local_time(char* buffer, std::size_t size);
