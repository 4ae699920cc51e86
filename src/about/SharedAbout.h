#pragma once

#include "frmAbout.h"

#include <QObject>
#include <QPointer>

// The program's one about dialog: loaded on the first request, brought to the front while it is open, and
// loaded afresh once OK has unloaded it.
class SharedAbout : public QObject {
    Q_OBJECT
public:
    explicit SharedAbout(const frmAbout::Seams& seams);
    ~SharedAbout() override;

    // The loaded dialog, or null.
    frmAbout* dialog() const { return m_dialog && !m_dialog->isUnloaded() ? m_dialog.data() : nullptr; }

    void show();

private:
    frmAbout::Seams m_seams;
    QPointer<frmAbout> m_dialog;
};
