#include "app/UiDataExchange.h"

#include "app/UiControlHost.h"
#include "foundation/BcStringResources.h"
#include "platform/gui/UiMessageBoxes.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

std::string stringText(unsigned id, const char* fallback)
{
    BcString text = BcStringResources::current().loadString(id);
    if (text.isEmpty())
        return fallback;
    return text.toNarrow(BcString::utf8CodePage);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The whole text must be one number that fits an int.
bool parse(const std::string& text, bool allowSign, int& value)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end)
        return false;
    size_t digits = begin;
    if (text[digits] == '-' || text[digits] == '+') {
        if (!allowSign)
            return false;
        ++digits;
    }
    if (digits == end)
        return false;
    for (size_t i = digits; i < end; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    std::string number = text.substr(begin, end - begin);
    errno = 0;
    long long parsed = std::strtoll(number.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = int(parsed);
    return true;
}

}

UiDataExchange::UiDataExchange(UiControlHost& host, bool fromControls) : host(host), reading(fromControls)
{
    host.beginTransfer();
}

UiDataExchange::~UiDataExchange()
{
    host.endTransfer();
}

void UiDataExchange::fail(int id, const std::string& message)
{
    failedId = id;
    host.focus(id);
    UiMessageBoxes::current().information(wxString::FromUTF8(message), "Quorvane");
}

std::string UiDataExchange::notAnInteger()
{
    return stringText(61712, "Please enter an integer.");
}

std::string UiDataExchange::notUnsigned()
{
    return stringText(61714, "Please enter a whole number of zero or more.");
}

std::string UiDataExchange::outOfRange(int minimum, int maximum)
{
    std::string format = stringText(61713, "Please enter an integer between %1 and %2.");
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == '1' || format[i + 1] == '2')) {
            out += std::to_string(format[i + 1] == '1' ? minimum : maximum);
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

void UiDataExchange::text(int id, std::string& value)
{
    if (!active())
        return;
    if (reading)
        value = host.text(id);
    else
        host.setText(id, value);
}

void UiDataExchange::integer(int id, int& value)
{
    if (!active())
        return;
    if (!reading) {
        host.setText(id, std::to_string(value));
        return;
    }
    int parsed = 0;
    if (parse(host.text(id), true, parsed))
        value = parsed;
    else
        fail(id, notAnInteger());
}

void UiDataExchange::unsignedInteger(int id, int& value)
{
    if (!active())
        return;
    if (!reading) {
        host.setText(id, std::to_string(value < 0 ? 0 : value));
        return;
    }
    int parsed = 0;
    if (parse(host.text(id), false, parsed))
        value = parsed;
    else
        fail(id, notUnsigned());
}

void UiDataExchange::range(int id, int value, int minimum, int maximum)
{
    if (!active() || !reading)
        return;
    if (value < minimum || value > maximum)
        fail(id, outOfRange(minimum, maximum));
}

void UiDataExchange::check(int id, int& state)
{
    if (!active())
        return;
    if (reading)
        state = host.check(id);
    else
        host.setCheck(id, state);
}

void UiDataExchange::radio(int firstId, int& index)
{
    if (!active())
        return;
    if (reading)
        index = host.radioIndex(firstId);
    else
        host.setRadioIndex(firstId, index);
}

void UiDataExchange::listIndex(int id, int& index)
{
    if (!active())
        return;
    if (reading)
        index = host.selection(id);
    else
        host.setSelection(id, index);
}

void UiDataExchange::slider(int id, int& position)
{
    if (!active())
        return;
    if (reading)
        position = host.position(id);
    else
        host.setPosition(id, position);
}
