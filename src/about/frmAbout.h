#pragma once

#include "Registry.h"

#include <QDialog>

class FileSearch;
class MessageBox;
class ProgramLauncher;
class QLabel;
class QPushButton;

// The about dialog: the product text, a warning, and a button that starts the system's
// system-information program, found through the registry.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    struct Seams {
        Registry& registry;
        ProgramLauncher& launcher;
        FileSearch& files;
        MessageBox& messages;
    };

    explicit frmAbout(const Seams& seams);
    ~frmAbout() override;

    // Starts the system-information program, or says that it is not available.
    void StartSysInfo();
    // Reads a registry value as text (see the registry layer's GetKeyValue); names and text in the ANSI
    // code page.
    bool GetKeyValue(Registry::Key KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal);

    // Hides the dialog and deletes it once control is back in the event loop.
    void Unload();
    bool isUnloaded() const { return m_unloaded; }

protected:
    // Esc and the title bar's close button both end here: they act as OK.
    void reject() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void showUnavailable();

    Seams m_seams;
    bool m_unloaded = false;

    QLabel* Label1 = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};
