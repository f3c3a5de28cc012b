#include "shell/DialogPrompter.h"

#include "shell/AppTitle.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace
{
// the subject in large bold letters above the text; both escaped, a callsign may hold anything
QString textAbout(const QString& subject, const QString& text)
{
    return QStringLiteral("<p style=\"font-size:x-large; font-weight:bold\">%1</p><p>%2</p>")
        .arg(subject.toHtmlEscaped(), text.toHtmlEscaped());
}

class OnlyEnterOrEscCloses : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
            return QObject::eventFilter(watched, event);
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape;
    }
};
} // namespace

DialogPrompter::DialogPrompter(QWidget* parent)
    : m_parent(parent)
{
}

std::optional<QString> DialogPrompter::askLine(const QString& caption, const QString& label)
{
    return askLineAbout(caption, label, QString());
}

std::optional<QString> DialogPrompter::askLineAbout(const QString& caption, const QString& label,
                                                    const QString& subject, const QString& text)
{
    QInputDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("LinePrompt"));
    dialog.setWindowTitle(caption);
    dialog.setLabelText(subject.isEmpty() ? label : textAbout(subject, label));
    dialog.setTextValue(text);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

void DialogPrompter::showMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, m_parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    // Keys typed ahead, a received code that followed Enter, are taken by the box and lost: only Enter or Esc
    // close it, so that a space cannot, and the digits after it cannot go to the grid to find another row.
    OnlyEnterOrEscCloses keys;
    box.installEventFilter(&keys);
    box.button(QMessageBox::Ok)->installEventFilter(&keys);
    box.exec();
}

std::optional<QString> DialogPrompter::askSaveFile(const QString& caption, const QString& proposedPath,
                                                   const QString& filter)
{
    // Qt's own dialog on every desktop: the same keys everywhere, and Enter takes the proposed name
    QFileDialog dialog(m_parent, caption, proposedPath, filter);
    dialog.setObjectName(QStringLiteral("SaveFile"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<qsizetype> DialogPrompter::askChoice(const QString& text, const QStringList& answers)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton, m_parent);
    box.setObjectName(QStringLiteral("QuestionBox"));
    QList<QAbstractButton*> buttons;
    for (const QString& answer : answers) {
        buttons.append(box.addButton(answer, QMessageBox::AcceptRole));
    }
    // a slip of Enter does nothing the operator has not chosen
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    const qsizetype index = buttons.indexOf(box.clickedButton());
    return index < 0 ? std::nullopt : std::make_optional(index);
}
