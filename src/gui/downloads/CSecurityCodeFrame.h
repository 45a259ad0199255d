#pragma once

#include "gui/common/CSkinDialog.h"

#include <string>

namespace ravelo {

/// The cloud drive's captcha: its picture (a file) and a box for exactly four characters. OK or
/// Enter with four characters ends it with 1 and the code; anything else leaves it open. The close
/// button ends it with 8.
class CSecurityCodeFrame : public CSkinDialog
{
public:
    explicit CSecurityCodeFrame(std::string imageFile);
    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;

    /// The typed code, after the dialog ended with 1.
    const std::string& Code() const { return m_code; }

    /// Whether a typed text is a code the drive can take: exactly four characters.
    static bool IsCompleteCode(const QString& text);

protected:
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;
    int ClosedCode() const override;

private:
    void Confirm();

    std::string m_imageFile;
    std::string m_code;
};

} // namespace ravelo
