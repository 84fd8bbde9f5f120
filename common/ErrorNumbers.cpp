#include "ErrorNumbers.h"

namespace automation {

std::wstring describeError(long number)
{
    struct Entry { long number; const wchar_t* text; };
    static const Entry table[] = {
        {5, L"Invalid procedure call or argument"},
        {6, L"Overflow"},
        {7, L"Out of memory"},
        {9, L"Subscript out of range"},
        {10, L"This array is fixed or temporarily locked"},
        {11, L"Division by zero"},
        {13, L"Type mismatch"},
        {51, L"Internal error"},
        {52, L"Bad file name or number"},
        {53, L"File not found"},
        {57, L"Device I/O error"},
        {61, L"Disk full"},
        {68, L"Device unavailable"},
        {70, L"Permission denied"},
        {71, L"Disk not ready"},
        {75, L"Path/File access error"},
        {76, L"Path not found"},
        {91, L"Object variable or With block variable not set"},
        {364, L"Object was unloaded"},
        {380, L"Invalid property value"},
        {424, L"Object required"},
        {438, L"Object doesn't support this property or method"},
        {449, L"Argument not optional"},
        {32755, L"Cancel was selected."},
    };
    for (const Entry& entry : table)
        if (entry.number == number) return entry.text;
    return L"Application-defined or object-defined error";
}

} // namespace automation
