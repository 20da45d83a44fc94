#pragma once

#include <string>

class UiControlHost;

// One transfer between a dialog's members and its controls, in either
// direction. Each call exchanges one field; reading the controls checks the
// text, and the first field that fails tells the user once, takes the focus
// and stops the transfer: later calls do nothing. While the transfer lives
// the host passes no notification to the dialog.
class UiDataExchange
{
public:
    UiDataExchange(UiControlHost& host, bool fromControls);
    ~UiDataExchange();
    UiDataExchange(const UiDataExchange&) = delete;
    UiDataExchange& operator=(const UiDataExchange&) = delete;

    bool fromControls() const { return reading; }
    // False once a field failed.
    bool ok() const { return failedId == 0; }
    int failedControl() const { return failedId; }

    void text(int id, std::string& value);
    // A decimal integer with an optional sign, blanks around it allowed.
    void integer(int id, int& value);
    // A decimal integer without sign.
    void unsignedInteger(int id, int& value);
    // Reading only: the value just exchanged must lie in minimum..maximum.
    void range(int id, int value, int minimum, int maximum);
    // 0, 1 or 2 (indeterminate).
    void check(int id, int& state);
    // The checked radio of the group firstId starts; -1 none.
    void radio(int firstId, int& index);
    // The selected list item; -1 none.
    void listIndex(int id, int& index);
    void slider(int id, int& position);

    // The texts of the failures, in the interface language.
    static std::string notAnInteger();
    static std::string notUnsigned();
    static std::string outOfRange(int minimum, int maximum);

private:
    bool active() const { return ok(); }
    void fail(int id, const std::string& message);

    UiControlHost& host;
    bool reading;
    int failedId = 0;
};
