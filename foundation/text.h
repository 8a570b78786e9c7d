// Small routines over terminated byte texts and integers. They work on
// bytes: ignoring case folds the ASCII letters only, so multi-byte
// characters are never split or matched across cases.
#pragma once

// Blank bytes are TAB, LF, CR and space only.
char* trim_left(char* text);   // pointer past the leading blanks; writes nothing
char* trim_right(char* text);  // overwrites the trailing blanks with zeros
char* trim(char* text);        // both, within the same buffer

// An empty prefix or suffix matches only an empty text.
int str_starts_with(const char* text, const char* prefix);
int str_starts_with_nocase(const char* text, const char* prefix);
int str_ends_with(const char* text, const char* suffix);
int str_ends_with_nocase(const char* text, const char* suffix);

// Null equals only null.
int str_equals(const char* a, const char* b);
int str_equals_nocase(const char* a, const char* b);

int str_has_non_ascii(const char* text);

// Next token before the delimiter text; the delimiter's first byte is
// overwritten and *cursor moves past it. The last token sets *cursor to
// null; the call after it returns null. An empty delimiter yields the whole
// rest as one token.
char* str_split_next(char** cursor, const char* delimiter);

// strsep: next token ended by any byte of the set (consecutive delimiters
// give empty tokens).
char* str_sep(char** cursor, const char* delimiters);

// First match ignoring ASCII case (an empty pattern matches at the start),
// and last occurrence; null when there is none.
const char* str_find_nocase(const char* text, const char* pattern);
const char* str_find_last(const char* text, const char* pattern);
inline char* str_find_nocase(char* text, const char* pattern) {
    return const_cast<char*>(str_find_nocase(static_cast<const char*>(text), pattern));
}
inline char* str_find_last(char* text, const char* pattern) {
    return const_cast<char*>(str_find_last(static_cast<const char*>(text), pattern));
}

// Heap copies (freed by the caller) with every occurrence replaced; null
// when there is nothing to replace (see the implementation for each case).
char* str_replace_char(const char* text, char byte, char newByte);
char* str_replace_all(const char* text, const char* find, const char* replacement);

// Optional "-", a digit, then digits with at most one ".".
int isNumber(const char* text);
// Optional "-" and one or more digits.
int isInteger(const char* text);
// One or more digits.
int isDigits(const char* text);

// a to the power n in wrapping 32-bit arithmetic; 0 for n < 0.
int int_pow(int a, int n);

// Seeds the runtime generator with the calling thread's id.
void random_init();
// A random integer from a to b inclusive (bounds swapped when b < a).
int random_range(int a, int b);
