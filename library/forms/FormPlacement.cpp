#include "FormPlacement.h"

#include <cerrno>
#include <climits>
#include <cwchar>

namespace quillon::placement {
namespace {

bool wholeNumber(const std::wstring& piece, long& value)
{
    size_t first = piece.find_first_not_of(L' ');
    size_t last = piece.find_last_not_of(L' ');
    if (first == std::wstring::npos) return false;
    std::wstring trimmed = piece.substr(first, last - first + 1);
    size_t digits = (trimmed[0] == L'-' || trimmed[0] == L'+') ? 1 : 0;
    if (digits == trimmed.size() || trimmed.find_first_not_of(L"0123456789", digits) != std::wstring::npos)
        return false;
    errno = 0;
    long long parsed = std::wcstoll(trimmed.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < LONG_MIN || parsed > LONG_MAX) return false;
    value = static_cast<long>(parsed);
    return true;
}

} // namespace

std::wstring formatRectangle(const Rect& rect)
{
    return std::to_wstring(rect.left) + L"|" + std::to_wstring(rect.top) + L"|" + std::to_wstring(rect.width) + L"|" +
           std::to_wstring(rect.height);
}

bool parseRectangle(const std::wstring& text, Rect& rect)
{
    long values[4] = {};
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t bar = text.find(L'|', start);
        if (bar == std::wstring::npos && i < 3) return false;
        if (!wholeNumber(text.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start), values[i]))
            return false;
        start = bar == std::wstring::npos ? text.size() : bar + 1;
    }
    if (values[2] < 1 || values[3] < 1) return false;
    rect = {values[0], values[1], values[2], values[3]};
    return true;
}

Rect centred(const Rect& form, long screenWidth, long screenHeight)
{
    return {screenWidth / 2 - form.width / 2, screenHeight / 2 - form.height / 2, form.width, form.height};
}

Rect centredOn(const Rect& form, const Rect& parent)
{
    return {parent.left + (parent.width / 2 - form.width / 2), parent.top + (parent.height / 2 - form.height / 2),
            form.width, form.height};
}

Rect fittedTo(const Rect& stored, const Rect& workArea)
{
    if (stored.width <= workArea.width && stored.height <= workArea.height) return stored;
    const Rect cut{0, 0, stored.width < workArea.width ? stored.width : workArea.width,
                   stored.height < workArea.height ? stored.height : workArea.height};
    return centredOn(cut, workArea);
}

std::vector<Rect> closeSteps(long style, const Rect& start, long speed)
{
    constexpr long kNarrowest = 1680;
    speed = usableSpeed(speed);
    std::vector<Rect> steps;
    Rect r = start;
    for (;;) {
        switch (style) {
        case 1: r.height -= speed; break;
        case 2: r.height -= speed; r.top += speed; break;
        case 3: r.left += speed; r.width -= speed; break;
        case 4: r.width -= speed; break;
        case 5: r.left += speed; r.width -= 2 * speed; break;
        default: return steps;
        }
        const bool done = style <= 2 ? r.height < 0 : r.width < kNarrowest;
        if (done) return steps;
        steps.push_back(r);
    }
}

std::vector<Rect> slideSteps(const Slide& slide, bool& keepsPlace)
{
    const long speed = usableSpeed(slide.speed);
    long w = slide.form.width, h = slide.form.height, l = slide.form.left, t = slide.form.top;
    const long sw = slide.screenWidth, sh = slide.screenHeight;
    const long endW = slide.endWidth, endH = slide.endHeight;
    const bool widthShrinks = endW <= w, heightShrinks = endH <= h;
    keepsPlace = widthShrinks && heightShrinks;
    bool widthMoving = true, heightMoving = true;
    std::vector<Rect> steps;
    while (widthMoving || heightMoving) {
        if (widthMoving) w += widthShrinks ? -speed : speed;
        if (heightMoving) h += heightShrinks ? -speed : speed;
        const bool widthPassed = widthShrinks ? w < endW : w > endW;
        const bool heightPassed = heightShrinks ? h < endH : h > endH;
        if (widthPassed) {
            w = endW;
            widthMoving = false;
        } else if (heightPassed) {
            h = endH;
            heightMoving = false;
        }
        if (widthShrinks && !heightShrinks) {
            if (h > sh - t) t = sh - h;
            if (t < 0) {
                t = 0;
                heightMoving = false;
            }
        } else if (!widthShrinks && heightShrinks) {
            if (w > sw - l) l = sw - w;
            if (l < 0) {
                l = 0;
                widthMoving = false;
            }
        } else if (!widthShrinks && !heightShrinks) {
            if (h > sh - t + 275) t = sh - h + 275;
            if (w > sw - l) l = sw - w;
            if (l < 0) {
                l = 0;
                widthMoving = false;
            }
            if (t < 0) {
                t = 0;
                heightMoving = false;
            }
        }
        steps.push_back({l, t, w, h});
    }
    return steps;
}

} // namespace quillon::placement
