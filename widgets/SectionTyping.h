#pragma once

#include <QDateTimeEdit>
#include <QKeyEvent>

// Typing into a date or time field as into the masked text it stands for: "16.11.24" and "161124" both
// give 16.11.24. Qt moves on to the next section by itself once a section is full, so a separator typed
// right after that is skipped instead of moving on a second time; any other separator moves to the next
// section, as Qt does. Tab and Backtab leave the field instead of stepping through its sections.
template<typename Field>
class SectionTyping : public Field
{
public:
    using Field::Field;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                m_sectionJustFilled = false;
                // past the date-time field's own override, which would step through the sections
                QWidget::focusNextPrevChild( // NOLINT(bugprone-parent-virtual-call)
                    key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
                return true;
            }
        }
        return Field::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        // Shift alone comes first when ":" is typed; it must not count as a key between
        if (isModifier(event->key())) {
            Field::keyPressEvent(event);
            return;
        }
        const QString text = event->text();
        if (m_sectionJustFilled && isSeparator(text)) {
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
        Field::mousePressEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override
    {
        m_sectionJustFilled = false;
        Field::focusInEvent(event);
    }

private:
    static bool isModifier(int key)
    {
        return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr
            || key == Qt::Key_Meta;
    }

    bool isSeparator(const QString& text) const
    {
        return text.size() == 1 && !text.front().isLetterOrNumber() && this->displayFormat().contains(text.front());
    }

    bool m_sectionJustFilled = false;
};
