// A small modal box that asks for one line of text: a character, an
// integer, a number or free text, optionally hidden as a password. The
// typed text is checked when OK is pressed; a refusal says why in a box and
// the input box stays open.
#pragma once

#include <string>

class QWidget;

enum : int {
    INPUT_CHARACTER = 1,  // one byte, or one of the escapes \r \n \t
    INPUT_INTEGER = 2,    // optional '-', then digits
    INPUT_NUMBER = 3,     // optional '-', a digit, digits with at most one '.'
    INPUT_TEXT = 0,       // anything
};

struct InputRequest {
    int ok = 0;         // out: 1 accepted, 0 cancelled
    std::string text;   // in: the initial text; out: the accepted text
    int mode = INPUT_TEXT;
    int password = 0;   // non-zero shows "*" for every character
};

// Checks typed text for mode. Accepted: the message is empty and *result
// holds the value (an escape becomes its control character; integers and
// numbers are trimmed). Refused: the message to show.
std::string checkInputText(int mode, const std::string& typed, std::string* result);

// Runs the box: 430 x 133, prompt above the edit, 确定 and 取消. The text
// limit follows the mode (2 characters, 128 for numbers, else none).
void showInputDialog(QWidget* owner, const std::string& title, const std::string& prompt,
                     InputRequest* request);
