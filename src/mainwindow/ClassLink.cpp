#include "ClassLink.h"

#include "ClassWindow.h"
#include "LibrarySession.h"
#include "TextBox.h"

ClassLink::ClassLink(const QString &folder, TextBox *composition, LibrarySession *library)
    : m_folder(folder), m_composition(composition), m_library(library)
{
    m_library->setChangeObserver([this](int category) { Q_EMIT examplesChanged(category); });
}

ClassLink::~ClassLink()
{
    m_library->setChangeObserver(nullptr);
    delete m_window.data();
}

void ClassLink::open()
{
    if (!m_window) {
        // No parent: a window of its own beside the main window, not kept above it.
        m_window = new ClassWindow(m_folder, this, m_dialogsFactory ? m_dialogsFactory() : nullptr);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->show();
        m_window->openLastClass();
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

ClassWindow *ClassLink::window() const { return m_window.data(); }

bool ClassLink::close(bool unattended)
{
    if (!m_window)
        return true;
    if (unattended)
        m_window->setUnattended();
    return m_window->close();
}

QString ClassLink::compositionText() const { return m_composition->text(); }

void ClassLink::setCompositionText(const QString &text) { m_composition->setText(text); }

const Category *ClassLink::exampleCategory(int index) const
{
    return index >= 0 && index < 3 ? &m_library->category(index) : nullptr;
}
