#include "shell/RadioDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr std::array kSpeeds = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr int kMaxPort = 65535;
} // namespace

RadioDialog::RadioDialog(const RadioSettings& settings, const QList<RigModelEntry>& models, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"RadioDialog"_s);
    setWindowTitle(u"Radio"_s);
    m_none = new QRadioButton(u"&No radio"_s, this);
    m_serial = new QRadioButton(u"Rig on a &serial line"_s, this);
    m_network = new QRadioButton(u"Net&work rig (rigctld)"_s, this);

    m_model = new QComboBox(this);
    m_model->setObjectName(u"Model"_s);
    for (const RigModelEntry& entry : models) {
        m_model->addItem(u"%1 %2 (%3)"_s.arg(entry.maker, entry.name).arg(entry.model), entry.model);
    }
    m_model->setCurrentIndex(std::max(0, m_model->findData(settings.model)));
    m_device = new QLineEdit(settings.device, this);
    m_device->setObjectName(u"Device"_s);
    m_device->setPlaceholderText(u"/dev/ttyUSB0"_s);
    m_speed = new QComboBox(this);
    m_speed->setObjectName(u"Speed"_s);
    for (const int speed : kSpeeds) {
        m_speed->addItem(QString::number(speed), speed);
    }
    if (m_speed->findData(settings.speed) < 0) {
        m_speed->addItem(QString::number(settings.speed), settings.speed);
    }
    m_speed->setCurrentIndex(m_speed->findData(settings.speed));
    m_host = new QLineEdit(settings.host, this);
    m_host->setObjectName(u"Host"_s);
    m_port = new QSpinBox(this);
    m_port->setObjectName(u"Port"_s);
    m_port->setRange(1, kMaxPort);
    m_port->setValue(settings.port);

    m_tuneToColumn = new QCheckBox(u"&Tune the radio to the band column chosen"_s, this);
    m_tuneToColumn->setObjectName(u"TuneToColumn"_s);
    m_tuneToColumn->setChecked(settings.tuneToColumn);

    auto* serialFields = new QFormLayout;
    serialFields->addRow(u"&Model:"_s, m_model);
    serialFields->addRow(u"&Device:"_s, m_device);
    serialFields->addRow(u"S&peed:"_s, m_speed);
    auto* networkFields = new QFormLayout;
    networkFields->addRow(u"&Host:"_s, m_host);
    networkFields->addRow(u"P&ort:"_s, m_port);

    m_problem = new QLabel(this);
    m_problem->setObjectName(u"Problem"_s);
    m_problem->setStyleSheet(u"color: #c00000"_s);
    m_problem->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &RadioDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RadioDialog::reject);

    auto* stack = new QVBoxLayout(this);
    if (!rigLibraryBuiltIn()) {
        auto* leftOut = new QLabel(u"This build of Tourlog has no radio control: the rig library (hamlib) could not "
                                   "be built for this system. No radio is followed, tuned or keyed."_s,
                                   this);
        leftOut->setObjectName(u"RigLibraryLeftOut"_s);
        leftOut->setWordWrap(true);
        stack->addWidget(leftOut);
    }
    stack->addWidget(m_none);
    stack->addWidget(m_serial);
    stack->addLayout(serialFields);
    stack->addWidget(m_network);
    stack->addLayout(networkFields);
    stack->addWidget(m_tuneToColumn);
    stack->addWidget(m_problem);
    stack->addWidget(buttons);

    const RadioSettings::Connection connection = rigLibraryBuiltIn() ? settings.connection
                                                                     : RadioSettings::Connection::None;
    switch (connection) {
    case RadioSettings::Connection::None:
        m_none->setChecked(true);
        break;
    case RadioSettings::Connection::Serial:
        m_serial->setChecked(true);
        break;
    case RadioSettings::Connection::Network:
        m_network->setChecked(true);
        break;
    }
    for (QRadioButton* choice : {m_none, m_serial, m_network}) {
        connect(choice, &QRadioButton::toggled, this, &RadioDialog::updateFields);
    }
    updateFields();
}

void RadioDialog::updateFields()
{
    for (QWidget* field : std::initializer_list<QWidget*>{m_model, m_device, m_speed}) {
        field->setEnabled(m_serial->isChecked());
    }
    m_host->setEnabled(m_network->isChecked());
    m_port->setEnabled(m_network->isChecked());
    m_tuneToColumn->setEnabled(!m_none->isChecked());
    m_serial->setEnabled(rigLibraryBuiltIn());
    m_network->setEnabled(rigLibraryBuiltIn());
    m_problem->hide();
}

RadioSettings RadioDialog::settings() const
{
    RadioSettings settings;
    if (m_serial->isChecked()) {
        settings.connection = RadioSettings::Connection::Serial;
    } else if (m_network->isChecked()) {
        settings.connection = RadioSettings::Connection::Network;
    }
    settings.model = m_model->currentData().toInt();
    settings.device = m_device->text().trimmed();
    settings.speed = m_speed->currentData().toInt();
    settings.host = m_host->text().trimmed();
    settings.port = m_port->value();
    settings.tuneToColumn = m_tuneToColumn->isChecked();
    return settings;
}

void RadioDialog::accept()
{
    QString problem;
    QWidget* field = nullptr;
    if (m_serial->isChecked() && m_model->currentIndex() < 0) {
        problem = u"Choose the rig's model."_s;
        field = m_model;
    } else if (m_serial->isChecked() && m_device->text().trimmed().isEmpty()) {
        problem = u"Enter the serial device the rig is on, as /dev/ttyUSB0."_s;
        field = m_device;
    } else if (m_network->isChecked() && m_host->text().trimmed().isEmpty()) {
        problem = u"Enter the host rigctld runs on, as localhost."_s;
        field = m_host;
    }
    if (field) {
        m_problem->setText(problem);
        m_problem->show();
        field->setFocus();
        return;
    }
    QDialog::accept();
}
