// The Settings dialog: the user-interface language for the next start.
#pragma once

#include <QDialog>

class QComboBox;
class CArkletonDlg;

enum : int {
    IDC_LANGUAGE_GROUP = 1073,
    IDC_LANGUAGE = 1074,
};

class CSettingDlg : public QDialog {
    Q_OBJECT
public:
    // language: the index the list shows chosen (0 the system's language,
    // 1 English, 2 Japanese, 3 German, 4 French).
    explicit CSettingDlg(int language, QWidget* parent = nullptr);

    int Language() const { return m_language; }

    // OK: the chosen index becomes the program's language index; when it
    // changed, the user is told that it counts from the next start.
    void accept() override;

private:
    QComboBox* m_combo = nullptr;
    int m_language;
};

// The main dialog's Setting command.
void RunSettingCommand(CArkletonDlg& dialog);
