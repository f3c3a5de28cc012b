#pragma once

#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <optional>

// Typing into a date or time field as into the masked text it stands for: "16.11.24" and "161124" both
// give 16.11.24. Qt moves on to the next section by itself once a section is full, so a separator typed
// right after that is skipped instead of moving on a second time; any other separator moves to the next
// section, as Qt does. Tab and Backtab leave the field instead of stepping through its sections.
//
// Over a selection of more than one section Qt fits what is typed into the sections one at a time and
// keeps what does not fit, so a date typed over the whole date came out a mix of the two. Such typing is
// shown as typed instead and read as a whole when it ends (Enter, Tab, leaving the field, any key that
// does not type), or the value is put back as it was, on Esc or when the text stands for none. The value
// follows the text as soon as it stands for one, for whatever reads the field in the meantime.
template<typename Field>
class SectionTyping : public Field
{
public:
    using Field::Field;

protected:
    // makes the field hold the value a text typed over a selection stands for; returns false and changes
    // nothing when it stands for none
    virtual bool setTypedText(const QString& text) = 0;

    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Wheel) {
            finishRetyping(true); // the step is taken from the value typed
        } else if (event->type() == QEvent::ShortcutOverride && m_retyping
                   && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            event->accept(); // Esc puts back what was there, before any shortcut of the window sees it
            return true;
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                m_sectionJustFilled = false;
                finishRetyping(true);
                // past the date-time field's own override, which would step through the sections
                QWidget::focusNextPrevChild( // NOLINT(bugprone-parent-virtual-call)
                    key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
                return true;
            }
        }
        return Field::event(event);
    }

    // What is being typed is read first when the text is clicked, for the click to land on the text Qt
    // shows, and when the window closes, which may save the field's text as it is.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((watched == this->lineEdit() && event->type() == QEvent::MouseButtonPress)
            || (watched == this->window() && event->type() == QEvent::Close)) {
            finishRetyping(true);
        }
        return Field::eventFilter(watched, event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        // Shift alone comes first when ":" is typed; it must not count as a key between
        if (isModifier(event->key())) {
            Field::keyPressEvent(event);
            return;
        }
        const QString text = event->text();
        const bool typing = text.size() == 1 && text.front().isPrint()
            && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (m_retyping) {
            if (typing || event->key() == Qt::Key_Backspace) {
                if (typing) {
                    m_retyping->typed += text;
                } else {
                    m_retyping->typed.chop(1);
                }
                showRetyped();
                event->accept();
                return;
            }
            const bool escape = event->key() == Qt::Key_Escape;
            finishRetyping(!escape);
            if (escape) {
                event->accept();
                return;
            }
        } else if (typing && !this->isReadOnly() && selectionSpansSections()) {
            startRetyping(text);
            event->accept();
            return;
        }
        if (m_sectionJustFilled && text.size() == 1 && isSeparator(text.front())) {
            m_sectionJustFilled = false;
            event->accept();
            return;
        }
        const QDateTimeEdit::Section before = this->currentSection();
        Field::keyPressEvent(event);
        m_sectionJustFilled = text.size() == 1 && text.front().isDigit() && this->currentSection() != before;
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        m_sectionJustFilled = false;
        finishRetyping(true);
        Field::mousePressEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override
    {
        m_sectionJustFilled = false;
        Field::focusInEvent(event);
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        finishRetyping(true);
        Field::focusOutEvent(event);
    }

private:
    struct Retyping
    {
        QString before;
        QString typed;
        QString after;
        QDateTime previous;
        // the section the selection ended in, where typing goes on when this ends
        int section = 0;
    };

    static bool isModifier(int key)
    {
        return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr
            || key == Qt::Key_Meta;
    }

    bool isSeparator(QChar character) const
    {
        return !character.isLetterOrNumber() && this->displayFormat().contains(character);
    }

    int separatorCount(const QString& text) const
    {
        return int(std::count_if(text.begin(), text.end(), [this](QChar c) { return isSeparator(c); }));
    }

    bool selectionSpansSections() const
    {
        const QString selected = this->lineEdit()->selectedText();
        return !selected.isEmpty() && (selected == this->lineEdit()->text() || separatorCount(selected) > 0);
    }

    void startRetyping(const QString& typed)
    {
        const QLineEdit* edit = this->lineEdit();
        const QString text = edit->text();
        const int start = edit->selectionStart();
        const int end = start + int(edit->selectedText().size());
        m_retyping = Retyping{text.left(start), typed, text.mid(end), this->dateTime(),
                              separatorCount(text.left(end - 1))};
        m_sectionJustFilled = false;
        this->lineEdit()->installEventFilter(this);
        this->window()->installEventFilter(this);
        showRetyped();
    }

    void showRetyped()
    {
        const QString text = m_retyping->before + m_retyping->typed + m_retyping->after;
        const int cursor = int(m_retyping->before.size() + m_retyping->typed.size());
        setTypedText(text);
        if (!m_retyping) { // ended by whoever heard of the new value
            return;
        }
        // shown as typed: Qt would fit it into the sections again as it is set
        QLineEdit* edit = this->lineEdit();
        const QSignalBlocker blocker(edit);
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }

    void finishRetyping(bool keep)
    {
        if (!m_retyping) {
            return;
        }
        const Retyping retyping = *m_retyping;
        m_retyping.reset();
        this->lineEdit()->removeEventFilter(this);
        this->window()->removeEventFilter(this);
        if (!keep || !setTypedText(retyping.before + retyping.typed + retyping.after)) {
            this->setDateTime(retyping.previous);
        }
        // the text as Qt writes the value, and the sections placed in it again
        this->setSelectedSection(this->sectionAt(std::min(retyping.section, this->sectionCount() - 1)));
    }

    bool m_sectionJustFilled = false;
    std::optional<Retyping> m_retyping;
};
