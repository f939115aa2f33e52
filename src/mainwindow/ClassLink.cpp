#include "ClassLink.h"

#include "ClassWindow.h"
#include "LibrarySession.h"
#include "TextBox.h"

ClassLink::ClassLink(const QString &folder, TextBox *composition, LibrarySession *library,
                     const QList<TextBox *> &exampleBoxes)
    : m_folder(folder), m_composition(composition), m_library(library)
{
    if (m_library)
        m_library->setChangeObserver([this](int category) { Q_EMIT examplesChanged(category); });
    // Only the shown category's box counts: the others change while their lists are filled.
    for (TextBox *box : exampleBoxes) {
        m_exampleConnections.append(QObject::connect(box, &QPlainTextEdit::textChanged, box, [this, box] {
            if (m_exampleListener && box->isVisible())
                m_exampleListener(box->text());
        }));
    }
}

ClassLink::~ClassLink()
{
    if (m_library)
        m_library->setChangeObserver(nullptr);
    for (const QMetaObject::Connection &connection : std::as_const(m_exampleConnections))
        QObject::disconnect(connection);
    delete m_window.data();
}

void ClassLink::open()
{
    // A closed window is deleted here (or with the link), never on its own close: closed by
    // a logout while one of its questions was open, it still has that question's code and
    // box on the stack, and a delayed delete would run in the event loop of its next box.
    if (m_window && m_window->isHidden())
        delete m_window.data();
    if (!m_window) {
        // No parent: a window of its own beside the main window, not kept above it.
        m_window = new ClassWindow(m_folder, this, m_dialogsFactory ? m_dialogsFactory() : nullptr);
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
    if (!m_window || m_window->isHidden())
        return true; // closed already, saved then
    if (unattended)
        m_window->setUnattended();
    return m_window->close();
}

QString ClassLink::compositionText() const { return m_composition->text(); }

void ClassLink::setCompositionText(const QString &text) { m_composition->setText(text); }

void ClassLink::setExampleListener(ExampleListener listener) { m_exampleListener = std::move(listener); }

const Category *ClassLink::exampleCategory(int index) const
{
    return m_library && index >= 0 && index < 3 ? &m_library->category(index) : nullptr;
}
