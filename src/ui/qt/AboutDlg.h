// The About dialog: the program's icon, name, version and the maker's notice.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QFont>
#include <QWidget>

class CArkletonDlg;

enum : int { IDC_VERSION = 0xFFFF };

// Draws "Version major.minor.build" in bold. The text and font are made once,
// when the control is constructed.
class CStaticVersion : public QWidget {
    Q_OBJECT
public:
    // version: the program's version, "major.minor.build" with perhaps a
    // fourth number, which is not shown.
    explicit CStaticVersion(const char* version, QWidget* parent = nullptr);

    const QString& Text() const { return m_text; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont m_font;
    QString m_text;
    uint16_t m_major = 0;
    uint16_t m_minor = 0;
    uint16_t m_build = 0;
};

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// The main dialog's About command.
void RunAboutCommand(CArkletonDlg& dialog);
