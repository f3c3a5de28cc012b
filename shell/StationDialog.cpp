#include "shell/StationDialog.h"

#include "shell/AppTitle.h"
#include "shell/ProfileFile.h"
#include "shell/StationSettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
constexpr int kLinesBoxHeight = 3;

QStringList linesOf(const QPlainTextEdit* box)
{
    QStringList lines = box->toPlainText().split(u'\n');
    for (QString& line : lines) {
        line = line.trimmed();
    }
    while (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

QString choiceOf(const QComboBox* box)
{
    return box->currentData().toString();
}

// what the settings file cannot keep is refused here, so that nothing typed is lost on the way
QString overflow(const QString& what, const QStringList& lines, qsizetype maxLines)
{
    if (lines.size() > maxLines) {
        return QStringLiteral("The %1 may have at most %2 lines; it has %3.").arg(what).arg(maxLines).arg(lines.size());
    }
    for (const QString& line : lines) {
        if (line.size() > ProfileFile::kMaxValueLength) {
            return QStringLiteral("A line of the %1 is longer than %2 characters.")
                .arg(what)
                .arg(ProfileFile::kMaxValueLength);
        }
    }
    return QString();
}
} // namespace

StationDialog::StationDialog(const Station& station, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("StationDialog"));
    setWindowTitle(QStringLiteral("Station"));
    auto* page = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    page->addLayout(columns);
    m_column = new QFormLayout;
    m_column->setObjectName(QStringLiteral("StationForm"));
    columns->addLayout(m_column);
    m_callsign = addLine(QStringLiteral("&Callsign:"), "Callsign", station.callsign);
    m_operators = addLine(QStringLiteral("&Operators:"), "Operators", station.operators);
    m_name = addLine(QStringLiteral("&Name:"), "Name", station.name);
    m_email = addLine(QStringLiteral("&E-mail:"), "Email", station.email);
    m_address = addLines(QStringLiteral("&Address:"), "Address", station.address);
    m_addressCity = addLine(QStringLiteral("Cit&y:"), "AddressCity", station.addressCity);
    m_addressStateProvince = addLine(QStringLiteral("State/pro&vince:"), "AddressStateProvince",
                                     station.addressStateProvince);
    m_addressPostalcode = addLine(QStringLiteral("&ZIP/postal code:"), "AddressPostalcode", station.addressPostalcode);
    m_addressCountry = addLine(QStringLiteral("Co&untry:"), "AddressCountry", station.addressCountry);
    m_location = addLine(QStringLiteral("Location (&QTH):"), "Location", station.location);
    m_gridLocator = addLine(QStringLiteral("&Grid locator:"), "GridLocator", station.gridLocator);
    m_club = addLine(QStringLiteral("C&lub:"), "Club", station.club);
    m_soapbox = addLines(QStringLiteral("Soapbo&x:"), "Soapbox", station.soapbox);

    m_column = new QFormLayout;
    m_column->setObjectName(QStringLiteral("ContestForm"));
    columns->addLayout(m_column);
    m_contest = addLine(QStringLiteral("Cabrillo con&test:"), "Contest", station.contest);
    const QString leftOut = QStringLiteral("(left out)");
    const QString fromLog = QStringLiteral("(from the log)");
    m_categoryOperator = addChoice(QStringLiteral("Category o&perator:"), "CategoryOperator", categoryOperatorChoices(),
                                   station.categoryOperator, leftOut);
    m_categoryBand = addChoice(QStringLiteral("Category &band:"), "CategoryBand", categoryBandChoices(),
                               station.categoryBand, fromLog);
    m_categoryMode = addChoice(QStringLiteral("Category &mode:"), "CategoryMode", categoryModeChoices(),
                               station.categoryMode, fromLog);
    m_categoryPower = addChoice(QStringLiteral("Category po&wer:"), "CategoryPower", categoryPowerChoices(),
                                station.categoryPower, leftOut);
    m_categoryStation = addChoice(QStringLiteral("Category &station:"), "CategoryStation", categoryStationChoices(),
                                  station.categoryStation, leftOut);
    m_categoryTransmitter = addChoice(QStringLiteral("Category t&ransmitter:"), "CategoryTransmitter",
                                      categoryTransmitterChoices(), station.categoryTransmitter, leftOut);
    m_categoryAssisted = addChoice(QStringLiteral("Category ass&isted:"), "CategoryAssisted", categoryAssistedChoices(),
                                   station.categoryAssisted, leftOut);
    m_categoryTime = addChoice(QStringLiteral("Category time (&hours):"), "CategoryTime", categoryTimeChoices(),
                               station.categoryTime, leftOut);
    m_categoryOverlay = addChoice(QStringLiteral("Category o&verlay:"), "CategoryOverlay", categoryOverlayChoices(),
                                  station.categoryOverlay, leftOut);
    m_certificate = addChoice(QStringLiteral("Certi&ficate:"), "Certificate", certificateChoices(), station.certificate,
                              leftOut);
    m_adifContestId = addLine(QStringLiteral("A&DIF contest ID:"), "AdifContestId", station.adifContestId);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &StationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &StationDialog::reject);
    page->addWidget(buttons);
    m_callsign->setFocus();
}

QLineEdit* StationDialog::addLine(const QString& label, const char* name, const QString& value)
{
    auto* edit = new QLineEdit(value, this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(int(ProfileFile::kMaxValueLength));
    m_column->addRow(label, edit);
    return edit;
}

QComboBox* StationDialog::addChoice(const QString& label, const char* name, const QStringList& choices,
                                    const QString& value, const QString& emptyText)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    for (const QString& choice : choices) {
        box->addItem(choice.isEmpty() ? emptyText : choice, choice);
    }
    // a value written into the file by hand is kept, not silently replaced by the first choice
    if (box->findData(value) < 0) {
        box->addItem(value, value);
    }
    box->setCurrentIndex(box->findData(value));
    m_column->addRow(label, box);
    return box;
}

QPlainTextEdit* StationDialog::addLines(const QString& label, const char* name, const QStringList& lines)
{
    auto* box = new QPlainTextEdit(lines.join(u'\n'), this);
    box->setObjectName(QString::fromLatin1(name));
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * kLinesBoxHeight + 2 * box->frameWidth()
                        + int(box->document()->documentMargin() * 2));
    m_column->addRow(label, box);
    return box;
}

Station StationDialog::station() const
{
    Station station;
    station.callsign = m_callsign->text().trimmed();
    station.operators = m_operators->text().trimmed();
    station.name = m_name->text().trimmed();
    station.email = m_email->text().trimmed();
    station.address = linesOf(m_address);
    station.addressCity = m_addressCity->text().trimmed();
    station.addressStateProvince = m_addressStateProvince->text().trimmed();
    station.addressPostalcode = m_addressPostalcode->text().trimmed();
    station.addressCountry = m_addressCountry->text().trimmed();
    station.location = m_location->text().trimmed();
    station.gridLocator = m_gridLocator->text().trimmed();
    station.contest = m_contest->text().trimmed();
    station.categoryOperator = choiceOf(m_categoryOperator);
    station.categoryBand = choiceOf(m_categoryBand);
    station.categoryMode = choiceOf(m_categoryMode);
    station.categoryPower = choiceOf(m_categoryPower);
    station.categoryStation = choiceOf(m_categoryStation);
    station.categoryTransmitter = choiceOf(m_categoryTransmitter);
    station.categoryAssisted = choiceOf(m_categoryAssisted);
    station.categoryTime = choiceOf(m_categoryTime);
    station.categoryOverlay = choiceOf(m_categoryOverlay);
    station.certificate = choiceOf(m_certificate);
    station.club = m_club->text().trimmed();
    station.soapbox = linesOf(m_soapbox);
    station.adifContestId = m_adifContestId->text().trimmed();
    return station;
}

void StationDialog::accept()
{
    QString refusal = overflow(QStringLiteral("address"), linesOf(m_address), kMaxAddressLines);
    if (refusal.isEmpty()) {
        refusal = overflow(QStringLiteral("soapbox"), linesOf(m_soapbox), kMaxSoapboxLines);
    }
    if (!refusal.isEmpty()) {
        QMessageBox::warning(this, applicationTitle(), refusal);
        return;
    }
    QDialog::accept();
}
