#include "Messages.h"

#include "MyCustomMessageBox.h"
#include "StringResources.h"

#include <algorithm>
#include <iterator>

namespace {

const unsigned kApplicationNameText = 1;
const unsigned kUnknownErrorText = 100;
const unsigned kAutoCloseSeconds = 60;

struct CodeEntry {
    int code;
    unsigned stringId;
    QMessageBox::Icon icon;
};

constexpr QMessageBox::Icon C = QMessageBox::Critical;
constexpr QMessageBox::Icon W = QMessageBox::Warning;

// Every code with a message of its own. The monitor-communication codes
// share one text that names the code.
const CodeEntry kErrorCodes[] = {
    {-1000, 105, C}, {-1001, 107, C}, {-1003, 111, C}, {-1004, 113, C},
    {-1005, 115, W}, {-1008, 117, C}, {-1011, 119, C}, {-1012, 121, C},
    {-1013, 123, W}, {-1014, 125, C}, {-1015, 127, W}, {-1017, 131, W},
    {-1023, 143, C}, {-32, 143, C},   {-27, 143, C},   {-26, 143, C},
    {-25, 143, C},   {-24, 143, C},   {-23, 143, C},   {-20, 143, C},
    {-12, 143, C},   {-11, 143, C},   {-10, 143, C},   {-1025, 144, C},
    {-1026, 151, C}, {-1029, 178, C}, {-1030, 148, C}, {-1031, 146, C},
    {-1032, 147, C}, {-1033, 149, C}, {-1035, 179, C}, {-1500, 101, C},
    {-1501, 103, C}, {-1502, 102, C}, {-1503, 102, C}, {-1504, 104, C},
    {-1505, 104, C},
};

} // namespace

namespace pz {

ErrorMessage errorMessageFor(int code)
{
    const auto found = std::find_if(std::begin(kErrorCodes), std::end(kErrorCodes),
                                    [code](const CodeEntry &e) { return e.code == code; });
    if (found == std::end(kErrorCodes))
        return {kUnknownErrorText, QMessageBox::Critical};
    return {found->stringId, found->icon};
}

QString errorMessageText(int code)
{
    QString text = GetStringResource(errorMessageFor(code).stringId);
    if (text.contains(QLatin1String("%1")))
        text = text.arg(code);
    return text;
}

} // namespace pz

bool DisplayMessage(QWidget *parent, QString text, QMessageBox::Icon icon, bool autoClose,
                    int centre, bool dontShowAgain)
{
    MyCustomMessageBox box(parent, autoClose ? kAutoCloseSeconds : 0, centre, dontShowAgain);
    box.setText(text);
    box.setWindowTitle(GetStringResource(kApplicationNameText));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setIcon(icon);
    box.exec();
    return dontShowAgain ? box.GetDontShowAgainValue() : false;
}

void DisplayErrorMessage(QWidget *parent, int code, bool autoClose, int centre)
{
    MyCustomMessageBox box(parent, autoClose ? kAutoCloseSeconds : 0, centre, false);
    box.setText(pz::errorMessageText(code));
    box.setWindowTitle(GetStringResource(kApplicationNameText));
    box.setStandardButtons(QMessageBox::Ok);
    box.setIcon(pz::errorMessageFor(code).icon);
    box.exec();
}
