#include "SharedAbout.h"

SharedAbout::SharedAbout(const frmAbout::Seams& seams)
    : m_seams(seams)
{}

// A dialog unloaded just before may still wait for its deletion; it goes now too.
SharedAbout::~SharedAbout()
{
    delete m_dialog.data();
}

void SharedAbout::show()
{
    if (!dialog())
        m_dialog = new frmAbout(m_seams);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}
