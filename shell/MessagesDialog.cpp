#include "shell/MessagesDialog.h"

#include "shell/CwdaemonKeyer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kMaxPort = 65535;
constexpr int kMessageWidth = 320;
} // namespace

MessagesDialog::MessagesDialog(const CwSettings& settings, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"MessagesDialog"_s);
    setWindowTitle(u"Messages"_s);

    auto* messages = new QGroupBox(u"CW messages"_s, this);
    auto* messageFields = new QFormLayout(messages);
    for (int i = 0; i < kCwMessageCount; ++i) {
        auto* field = new QLineEdit(settings.messages.at(size_t(i)), messages);
        field->setObjectName(u"F%1"_s.arg(i + 1));
        field->setMinimumWidth(kMessageWidth);
        messageFields->addRow(u"F&%1:"_s.arg(i + 1), field);
        m_messages.at(size_t(i)) = field;
    }
    auto* placeholders = new QLabel(u"{MYCALL} your callsign (File > Station...), {EXCH} the exchange as the large "
                                    "panel shows it, {CALL} the callsign of the current row, {NR} the serial alone"_s,
                                    messages);
    placeholders->setWordWrap(true);
    messageFields->addRow(placeholders);
    m_cutNumbers = new QCheckBox(u"&Cut numbers in the serial (0 as T, 9 as N)"_s, messages);
    m_cutNumbers->setObjectName(u"CutNumbers"_s);
    m_cutNumbers->setChecked(settings.cutNumbers);
    messageFields->addRow(m_cutNumbers);
    m_exchangeOnEntry = new QCheckBox(u"Send F2 by itself when the entry &prompt opens on a CW row"_s, messages);
    m_exchangeOnEntry->setObjectName(u"ExchangeOnEntry"_s);
    m_exchangeOnEntry->setChecked(settings.exchangeOnEntry);
    messageFields->addRow(m_exchangeOnEntry);

    auto* keyer = new QGroupBox(u"Keyer"_s, this);
    m_none = new QRadioButton(u"&No keyer"_s, keyer);
    m_radio = new QRadioButton(u"The &radio's own keyer (File > Radio...)"_s, keyer);
    m_cwdaemon = new QRadioButton(u"c&wdaemon"_s, keyer);
    m_cwdaemon->setObjectName(u"Cwdaemon"_s);
    m_host = new QLineEdit(settings.host, keyer);
    m_host->setObjectName(u"Host"_s);
    m_port = new QSpinBox(keyer);
    m_port->setObjectName(u"Port"_s);
    m_port->setRange(1, kMaxPort);
    m_port->setValue(settings.port);
    m_wpm = new QSpinBox(keyer);
    m_wpm->setObjectName(u"Wpm"_s);
    m_wpm->setRange(CwSettings::kMinWpm, CwSettings::kMaxWpm);
    m_wpm->setValue(settings.wpm);
    m_wpm->setSuffix(u" wpm"_s);
    auto* networkFields = new QFormLayout;
    networkFields->addRow(u"&Host:"_s, m_host);
    networkFields->addRow(u"P&ort:"_s, m_port);
    auto* keyerStack = new QVBoxLayout(keyer);
    keyerStack->addWidget(m_none);
    keyerStack->addWidget(m_radio);
    keyerStack->addWidget(m_cwdaemon);
    keyerStack->addLayout(networkFields);
    auto* speed = new QFormLayout;
    speed->addRow(u"&Speed (PgUp, PgDn):"_s, m_wpm);
    keyerStack->addLayout(speed);

    m_problem = new QLabel(this);
    m_problem->setObjectName(u"Problem"_s);
    m_problem->setStyleSheet(u"color: #c00000"_s);
    m_problem->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &MessagesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MessagesDialog::reject);

    auto* stack = new QVBoxLayout(this);
    stack->addWidget(messages);
    stack->addWidget(keyer);
    stack->addWidget(m_problem);
    stack->addWidget(buttons);

    switch (settings.keyer) {
    case CwSettings::Keyer::None:
        m_none->setChecked(true);
        break;
    case CwSettings::Keyer::Radio:
        m_radio->setChecked(true);
        break;
    case CwSettings::Keyer::Cwdaemon:
        m_cwdaemon->setChecked(true);
        break;
    }
    for (QRadioButton* choice : {m_none, m_radio, m_cwdaemon}) {
        connect(choice, &QRadioButton::toggled, this, &MessagesDialog::updateFields);
    }
    updateFields();
}

void MessagesDialog::updateFields()
{
    m_host->setEnabled(m_cwdaemon->isChecked());
    m_port->setEnabled(m_cwdaemon->isChecked());
    m_problem->hide();
}

CwSettings MessagesDialog::settings() const
{
    CwSettings settings;
    for (int i = 0; i < kCwMessageCount; ++i) {
        settings.messages.at(size_t(i)) = m_messages.at(size_t(i))->text().trimmed();
    }
    settings.cutNumbers = m_cutNumbers->isChecked();
    settings.exchangeOnEntry = m_exchangeOnEntry->isChecked();
    if (m_radio->isChecked()) {
        settings.keyer = CwSettings::Keyer::Radio;
    } else if (m_cwdaemon->isChecked()) {
        settings.keyer = CwSettings::Keyer::Cwdaemon;
    }
    settings.host = m_host->text().trimmed();
    settings.port = m_port->value();
    settings.wpm = m_wpm->value();
    return settings;
}

void MessagesDialog::accept()
{
    if (m_cwdaemon->isChecked() && m_host->text().trimmed().isEmpty()) {
        refuse(u"Enter the host cwdaemon runs on, as localhost."_s, m_host);
        return;
    }
    const auto speedSign = [](QChar ch) { return QStringView(kCwdaemonSpeedSigns).contains(ch); };
    for (int i = 0; m_cwdaemon->isChecked() && i < kCwMessageCount; ++i) {
        QLineEdit* message = m_messages.at(size_t(i));
        const QString text = message->text();
        if (std::any_of(text.cbegin(), text.cend(), speedSign)) {
            refuse(u"F%1: cwdaemon takes + and - as speed changes and cannot key them (AR, a hyphen): take "
                   "them out."_s.arg(i + 1),
                   message);
            return;
        }
    }
    QDialog::accept();
}

void MessagesDialog::refuse(const QString& problem, QWidget* field)
{
    m_problem->setText(problem);
    m_problem->show();
    field->setFocus();
}
