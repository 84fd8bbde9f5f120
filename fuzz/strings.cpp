// The string routines: case, quotes, replacing, stripping, the password scrambler, telephone numbers,
// and the text rules of the shell and network classes.
#include "FuzzInput.h"
#include "forms/ShellRules.h"
#include "network/NetworkRules.h"
#include "strings/StringRules.h"
#include "strings/TextCase.h"

using namespace quillon;
using namespace fuzzinput;
namespace rules = quillon::stringrules;

namespace {

void checkScrambler(short key, const std::wstring& password)
{
    std::vector<int> codes, scrambled, back;
    for (wchar_t c : textcase::Upper(password))
        if (c <= 0xFF) codes.push_back(c);
    if (rules::Scramble(key, codes, scrambled) != rules::ScrambleStatus::Ok) return;
    FUZZ_CHECK(scrambled.size() == codes.size());
    FUZZ_CHECK(rules::Unscramble(key, scrambled, back) == rules::ScrambleStatus::Ok && back == codes);
}

void checkPhone(const std::wstring& number, bool compress, const std::wstring& areaCode)
{
    const rules::PhoneFormatted phone = rules::PhoneFormat(number, compress, areaCode);
    if (phone.colour == rules::TextColour::Red) FUZZ_CHECK(!compress && phone.text == number);
    if (compress) FUZZ_CHECK(phone.text.find_first_of(L"()- ") == std::wstring::npos);
}

void checkShellAndNetwork(const std::wstring& text, long index)
{
    std::wstring previous = text;
    const std::wstring applet = ShellRules::AppletCommandLine(L"C:\\S\\rundll32.exe", index, previous);
    FUZZ_CHECK(applet == L"\"C:\\S\\rundll32.exe\" shell32.dll,Control_RunDLL " + previous);
    FUZZ_CHECK(ShellRules::AppletText(index) ? previous == ShellRules::AppletText(index) : previous == text);
    FUZZ_CHECK(!ShellRules::ShellErrorMessage(index).empty());
    const wchar_t* verb = ShellRules::ShellVerb(index);
    FUZZ_CHECK(!verb || *verb);

    const std::wstring method = NetworkRules::RequestMethod(text);
    FUZZ_CHECK(!method.empty() && method.front() != L' ' && method.back() != L' ');
    for (NetworkRules::DriveUse use : {NetworkRules::DriveUse::Map, NetworkRules::DriveUse::Unmap}) {
        const std::wstring drive = NetworkRules::DriveName(text, use);
        FUZZ_CHECK(drive.empty() || (drive.size() == 2 && drive[0] >= L'A' && drive[0] <= L'Z' && drive[1] == L':'));
    }

    // A response's charset: a part of its Content-Type; a byte-order mark: a prefix of its bytes.
    const std::wstring charset = NetworkRules::CharsetOf(text);
    FUZZ_CHECK(charset.size() < text.size() || charset.empty());
    FUZZ_CHECK(NetworkRules::CodePageOf(charset) == 0 || !charset.empty());
    std::string bytes(text.begin(), text.end());
    size_t markLength = 99;
    const unsigned marked = NetworkRules::CodePageOfMark(bytes, markLength);
    FUZZ_CHECK(marked ? markLength >= 2 && markLength <= bytes.size() : markLength == 0);
}

} // namespace

FUZZ_TARGET(texts)
{
    const std::wstring text = texts[0], other = texts[1], third = texts[2];
    const unsigned number = texts.number(3);

    FUZZ_CHECK(rules::ProperCase(text, rules::kProperCaseDelimiters).size() == text.size());
    FUZZ_CHECK(rules::ProperCase(text, other).size() == text.size());
    FUZZ_CHECK(rules::UnQuoteString(text).size() <= text.size());

    // Replacing: nothing found, nothing changed; a piece replaced by itself changes nothing.
    const std::wstring replaced = rules::StringReplace(text, other, third, number & 1);
    if (other.empty() || text.find(other) == std::wstring::npos) FUZZ_CHECK(replaced == text || !(number & 1));
    FUZZ_CHECK(rules::StringReplace(text, other, other, true) == text);

    const std::wstring stripped = rules::StringStrip(text, other);
    FUZZ_CHECK(stripped.size() <= text.size() && stripped.find_first_of(other) == std::wstring::npos);
    FUZZ_CHECK(rules::StringStrip(text, L"") == text);

    checkScrambler(static_cast<short>(number), text);
    checkPhone(text, number & 2, other);
    checkShellAndNetwork(text, static_cast<std::int16_t>(number));
}
