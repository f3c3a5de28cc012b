#include "support/SoakContest.h"

#include "shell/ErrorBox.h"
#include "shell/Unit1.h"
#include "store/Database.h"
#include "store/TableView.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TableViewModel.h"
#include "widgets/TimePicker.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <ctime>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kBands = 4;
constexpr int kTimeColumn = 1;
constexpr int kReceivedColumn = 3;
constexpr int kScorePanel = 1;
constexpr int kTourPanel = 0;
constexpr int kOperatorKi = 22;
constexpr int kContestNumber = 1;
// the operator stays on one band for a few contacts before going to the next
constexpr int kContactsPerBandVisit = 5;
constexpr int kMostDisagreementsTold = 5;
constexpr qint64 kTailBytes = 600;
const QDate kContestDay(2006, 10, 22);
const QTime kContestStart(20, 0);

struct BandName
{
    int metres;
    QString mode;
};
const std::array<BandName, kBands> kBandNames = {{{80, u"SSB"_s}, {80, u"CW"_s}, {160, u"SSB"_s}, {160, u"CW"_s}}};

// lets the window finish what the last event started, deferred deletions included, as the event loop would
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QString generatedCallsign(int index)
{
    static const QStringList prefixes = {u"RA"_s, u"RK"_s, u"RN"_s, u"RU"_s, u"RV"_s,
                                         u"RW"_s, u"RX"_s, u"RZ"_s, u"UA"_s, u"UI"_s};
    // the suffixes are scattered over the alphabet, so that the views' callsign order is not entry order
    int suffix = int((qint64(index / 100) * 7919 + 13) % (26 * 26 * 26));
    QString letters;
    for (int i = 0; i < 3; ++i) {
        letters.prepend(QChar(u'A' + suffix % 26));
        suffix /= 26;
    }
    return prefixes.at(index % 10) + QString::number(index / 10 % 10) + letters;
}

QString twoDigits(int value)
{
    return u"%1"_s.arg(value, 2, 10, QChar(u'0'));
}

QString threeDigits(int value)
{
    return u"%1"_s.arg(value, 3, 10, QChar(u'0'));
}

QString reportDate(const QDateTime& utc)
{
    static const QStringList months = {u"Jan"_s, u"Feb"_s, u"Mar"_s, u"Apr"_s, u"May"_s, u"Jun"_s,
                                       u"Jul"_s, u"Aug"_s, u"Sep"_s, u"Oct"_s, u"Nov"_s, u"Dec"_s};
    const QDate date = utc.date();
    return twoDigits(date.day()) + u'-' + months.at(date.month() - 1) + u'-' + twoDigits(date.year() % 100);
}

QByteArray cp1251(const QString& text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

QString describeRow(const Statement& row, int columns)
{
    QStringList values;
    for (int i = 0; i < columns; ++i) {
        const QVariant value = row.column(i);
        values << value.toString();
    }
    return values.join(u'|');
}

qint64 statusKilobytes(const QByteArray& field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field)) {
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void tell(QStringList& problems, const QString& problem)
{
    if (problems.size() < kMostDisagreementsTold) {
        problems << problem;
    }
}
} // namespace

qint64 residentKilobytes()
{
    return statusKilobytes("VmRSS:");
}

qint64 peakResidentKilobytes()
{
    return statusKilobytes("VmHWM:");
}

SoakContest::SoakContest(const SoakPlan& plan)
    : m_plan(plan)
    , m_start(kContestDay, kContestStart)
{
    if (plan.tours < 1 || plan.participants < 1 || plan.contacts / plan.tours / kBands + 2 > plan.participants) {
        throw SoakFailure("the plan has more contacts per band and tour than participants");
    }
    for (int i = 0; i < plan.participants; ++i) {
        m_callsigns << generatedCallsign(i);
        m_participantOf.insert(m_callsigns.last(), i);
        m_regions.push_back(10 + i * 37 % 80);
    }
    m_contacts.resize(plan.contacts);
    m_contacts.clear();
    m_plannedRows.resize(size_t(plan.participants) * kBands * plan.tours);
    m_figures.contactNs.reserve(plan.contacts);
    m_figures.contactCpuNs.reserve(plan.contacts);
    m_liveInTour.reserve(plan.contacts / plan.tours + 2);
    for (std::vector<int>& rows : m_takenBack) {
        rows.reserve(plan.contacts / plan.tours + 2);
    }
    startWindow();
    setUpContest();
}

SoakContest::~SoakContest()
{
    m_form.reset();
    setErrorReporter({});
}

void SoakContest::startWindow()
{
    setErrorReporter([this](const QString& message) { m_errors << message; });
    m_form = std::make_unique<TForm1>();
    m_form->setPrompter(&m_prompter);
    m_form->setClock(&m_clock);
    // the soak ticks the tour clock itself, at the fake clock's times
    controls(m_form).timer1().stop();
    m_form->show();
    if (!QTest::qWaitForWindowActive(m_form.get())) {
        throw SoakFailure("the window did not become active");
    }
    settle();
}

void SoakContest::setUpContest()
{
    TForm1& form = *m_form;
    controls(form).kiEdit().setValue(kOperatorKi);
    controls(form).nppEdit().setValue(m_serial);
    controls(form).contestNumber().setValue(kContestNumber);
    controls(form).tours().setValue(m_plan.tours);
    controls(form).tourMinutes().setValue(m_plan.tourMinutes);
    controls(form).begDate().setDate(kContestDay);
    controls(form).begTime().setTime(kContestStart);
    controls(form).autoChangeTour().setChecked(true);
    tickAt(-600'000);
    if (controls(form).statusBar1().panelText(kTourPanel) != u"Before..."_s || controls(form).tour().value() != 0) {
        throw SoakFailure("the tour clock does not show the contest as not begun");
    }
    checkNoComplaint(u"setting up the contest"_s);
}

void SoakContest::importParticipants()
{
    // the list as operators keep it: now and then a blank line or a callsign typed with a space
    QByteArray list;
    for (int i = 0; i < m_plan.participants; ++i) {
        QString line = m_callsigns.at(i);
        if (i % 13 == 0) {
            line.insert(3, u' ');
        }
        list += line.toLatin1() + (i % 2 ? "\r\n" : "\n");
        if (i % 97 == 0) {
            list += "\r\n";
        }
    }
    QFile file(QDir(m_form->database().directory()).filePath(u"Callsign.txt"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(list) != list.size()) {
        throw SoakFailure("cannot write Callsign.txt");
    }
    file.close();

    QElapsedTimer timer;
    timer.start();
    controls(m_form).importCallsign1().trigger();
    settle();
    m_figures.importNs = timer.nsecsElapsed();
    // a word on what the import added is welcome; anything else is not
    if (m_prompter.messages.size() == 1 && m_prompter.messages.first().contains(QString::number(m_plan.participants))) {
        m_prompter.messages.clear();
    }
    checkNoComplaint(u"the import"_s);
    if (controls(m_form).callsignView().recordCount() != m_plan.participants
        || controls(m_form).contest80().recordCount() != m_plan.participants * m_plan.tours) {
        throw SoakFailure(qPrintable(u"the import gave %1 participants and %2 rows of 80 m SSB, not %3 and %4"_s
                                         .arg(controls(m_form).callsignView().recordCount())
                                         .arg(controls(m_form).contest80().recordCount())
                                         .arg(m_plan.participants)
                                         .arg(m_plan.participants * m_plan.tours)));
    }
}

void SoakContest::runTours(const std::function<void(int tour)>& afterTour)
{
    QElapsedTimer run;
    run.start();
    const qint64 tourMs = qint64(m_plan.tourMinutes) * 60'000;
    for (int tour = 1; tour <= m_plan.tours; ++tour) {
        const int first = int(qint64(m_plan.contacts) * (tour - 1) / m_plan.tours);
        const int count = int(qint64(m_plan.contacts) * tour / m_plan.tours) - first;
        const qint64 step = tourMs / (count + 2);
        for (int i = 0; i < count; ++i) {
            const qint64 atMs = (tour - 1) * tourMs + (i + 1) * step;
            // every other tour ends while the operator is typing a code: the clock moves on under the prompt
            const bool changeInPrompt = i == count - 1 && tour < m_plan.tours && tour % 2 == 1;
            enterContact(tour, atMs, changeInPrompt ? tour * tourMs + 1000 : -1);
            const int done = int(m_figures.contactNs.size());
            if (done == m_plan.warmupContacts) {
                m_figures.rssAfterWarmupKb = residentKilobytes();
            }
            if (done % m_plan.correctionEvery == 0) {
                correctContact();
            }
            if (done % m_plan.takeBackEvery == 0) {
                takeBackContact();
            }
        }
        if (afterTour) {
            afterTour(tour);
        }
    }
    m_figures.rssAtEndKb = residentKilobytes();
    m_figures.runNs = run.nsecsElapsed();

    tickAt(m_plan.tours * tourMs + 60'000);
    if (controls(m_form).statusBar1().panelText(kTourPanel) != u"After..."_s
        || controls(m_form).tour().value() != m_plan.tours + 1 || controls(m_form).contest80().recordCount() != 0) {
        throw SoakFailure("after the last tour the clock does not show the contest as over");
    }
    checkNoComplaint(u"the end of the contest"_s);
}

void SoakContest::tickAt(qint64 atMs)
{
    const int shownBefore = controls(m_form).tour().value();
    m_clock.now = localAt(atMs);
    controls(m_form).tick();
    settle();
    if (controls(m_form).tour().value() != shownBefore) {
        forgetShownTour();
    }
}

void SoakContest::forgetShownTour()
{
    // the views show another tour: nothing of it has been worked yet
    m_datedRows.fill(0);
    for (std::vector<int>& rows : m_takenBack) {
        rows.clear();
    }
    m_liveInTour.clear();
}

void SoakContest::activate(int band)
{
    DataGrid& grid = controls(m_form).bandGrid(band);
    if (m_form->activeBand() == band && grid.hasFocus()) {
        return;
    }
    if (!m_form->isActiveWindow()) {
        // back from another window: the operator's click brings the main window forward first
        m_form->activateWindow();
        if (!QTest::qWaitForWindowActive(m_form.get())) {
            throw SoakFailure("the window did not become active again");
        }
    }
    QTest::mouseClick(&controls(m_form).titlePanel(band), Qt::LeftButton);
    settle();
    if (m_form->activeBand() != band || !grid.hasFocus()) {
        throw SoakFailure(
            qPrintable(u"a click on the title panel of band %1 did not make it the active band"_s.arg(band)));
    }
}

void SoakContest::setEditMode(bool on)
{
    QCheckBox& box = controls(m_form).editing();
    if (box.isChecked() == on) {
        return;
    }
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(box.height() / 2, box.height() / 2));
    settle();
    if (box.isChecked() != on) {
        throw SoakFailure("a click on \"Edit Enabled\" did not change edit mode");
    }
}

void SoakContest::enterContact(int tour, qint64 atMs, qint64 promptMovesClockToMs)
{
    tickAt(atMs);
    if (controls(m_form).tour().value() != tour) {
        throw SoakFailure(qPrintable(
            u"the tour clock shows tour %1 at a moment of tour %2"_s.arg(controls(m_form).tour().value()).arg(tour)));
    }
    const int number = int(m_figures.contactNs.size());
    int band = number / kContactsPerBandVisit % kBands;
    const bool rework = (number + 1) % m_plan.reworkEvery == 0;
    if (rework && m_takenBack.at(band).empty()) {
        for (int other = 0; other < kBands; ++other) {
            if (!m_takenBack.at(other).empty()) {
                band = other;
            }
        }
    }
    activate(band);
    TableView& view = controls(m_form).bandView(band);
    int row = -1;
    int participant = -1;
    if (rework && !m_takenBack.at(band).empty()) {
        participant = m_takenBack.at(band).back();
        m_takenBack.at(band).pop_back();
        if (!view.locate(u"CallSign"_s, {m_callsigns.at(participant)}, true)) {
            throw SoakFailure("a taken-back contact is no longer in its band view");
        }
        row = view.currentRow();
        ++m_figures.reworks;
    } else {
        // the rows not yet worked stand at the top of the view
        const int unworked = view.recordCount() - m_datedRows.at(band);
        if (view.recordCount() != m_plan.participants || unworked < 1) {
            throw SoakFailure(qPrintable(u"band %1 of tour %2 shows %3 rows with %4 not worked"_s.arg(band)
                                             .arg(tour)
                                             .arg(view.recordCount())
                                             .arg(unworked)));
        }
        row = int(m_random.bounded(unworked));
    }
    pressEnterOn(band, row, participant, tour, atMs, promptMovesClockToMs);
}

void SoakContest::pressEnterOn(int band, int row, int expectedParticipant, int tour, qint64 atMs,
                               qint64 promptMovesClockToMs)
{
    DataGrid& grid = controls(m_form).bandGrid(band);
    TableView& view = controls(m_form).bandView(band);
    grid.setCurrentIndex(grid.model()->index(row, 0));
    if (view.currentRow() != row) {
        throw SoakFailure("the band view does not follow the row chosen in its grid");
    }
    const auto participant = m_participantOf.constFind(view.text(u"CallSign"_s));
    if (participant == m_participantOf.cend() || (expectedParticipant >= 0 && *participant != expectedParticipant)
        || !view.isNull(u"T"_s) || view.value(u"TourNumber"_s).toInt() != tour) {
        throw SoakFailure(
            qPrintable(u"row %1 of band %2 is not the planned contact expected: %3, tour %4"_s.arg(row).arg(band).arg(
                view.text(u"CallSign"_s), view.text(u"TourNumber"_s))));
    }
    PlannedRow& plannedRow = planned(*participant, band, tour);
    const bool dated = plannedRow.contact >= 0;
    if (dated == view.isNull(u"D"_s) || (dated && m_contacts.at(plannedRow.contact).live)) {
        throw SoakFailure("a planned contact is not in the state the soak left it in");
    }

    Contact contact;
    contact.participant = *participant;
    contact.band = band;
    contact.tour = tour;
    contact.atMs = atMs;
    contact.serial = m_serial;
    contact.region = m_regions.at(*participant);
    contact.receivedSerial = 1 + int(m_random.bounded(999));
    if (controls(m_form).sendTextPanel().caption() != sentText(contact)) {
        throw SoakFailure(qPrintable(u"the exchange to send reads %1, not %2"_s.arg(
            controls(m_form).sendTextPanel().caption(), sentText(contact))));
    }
    // typed as operators type it: mostly with a space, now and then without or spaced out
    QString typed = receivedText(contact);
    const int number = int(m_figures.contactNs.size());
    if (number % 7 == 3) {
        typed.remove(u' ');
    } else if (number % 11 == 5) {
        typed = typed.split(QString(), Qt::SkipEmptyParts).join(u' ');
    }
    m_prompter.answers = {typed};
    if (promptMovesClockToMs >= 0) {
        m_prompter.whilePrompting = [this, promptMovesClockToMs] {
            m_clock.now = localAt(promptMovesClockToMs);
            controls(m_form).tick();
        };
    }

    QElapsedTimer timer;
    const qint64 cpuBefore = threadCpuNs();
    timer.start();
    QTest::keyClick(&grid, Qt::Key_Return);
    settle();
    m_figures.contactNs.push_back(timer.nsecsElapsed());
    m_figures.contactCpuNs.push_back(threadCpuNs() - cpuBefore);

    m_prompter.whilePrompting = {};
    const QString step =
        u"contact %1 (%2 on band %3, tour %4)"_s.arg(number + 1).arg(m_callsigns.at(*participant)).arg(band).arg(tour);
    checkNoComplaint(step);
    const QStringList label = {u"Код (диапазон "_s + controls(m_form).titlePanel(band).caption() + u':'};
    if (m_prompter.labels != label || controls(m_form).nppEdit().value() != m_serial + 1) {
        throw SoakFailure(qPrintable(step
                                     + u": prompted %1 times, serial now %2"_s.arg(m_prompter.labels.size())
                                           .arg(controls(m_form).nppEdit().value())));
    }
    m_prompter.captions.clear();
    m_prompter.labels.clear();
    ++m_serial;

    const int index = int(m_contacts.size());
    m_contacts.push_back(contact);
    plannedRow.contact = index;
    if (!dated) {
        ++m_datedRows.at(band);
    }
    m_liveInTour.push_back(index);
    checkReportEndsWith(contact);

    if (promptMovesClockToMs >= 0) {
        if (controls(m_form).tour().value() != tour + 1) {
            throw SoakFailure(qPrintable(step + u": the tour did not change while the prompt was open"_s));
        }
        ++m_figures.toursChangedInPrompt;
        forgetShownTour();
    }
}

int SoakContest::pickLiveContact()
{
    if (m_liveInTour.empty()) {
        return -1;
    }
    const auto at = m_liveInTour.begin() + qsizetype(m_random.bounded(quint32(m_liveInTour.size())));
    const int index = *at;
    m_liveInTour.erase(at);
    return index;
}

void SoakContest::correctContact()
{
    const int index = pickLiveContact();
    if (index < 0) {
        return;
    }
    Contact& contact = m_contacts.at(index);
    contact.receivedSerial = contact.receivedSerial % 999 + 1;
    // now and then the region was misheard, not only the serial
    if (m_figures.corrections % 3 == 0) {
        contact.region = 10 + (contact.region - 9) % 80;
    }
    const QString corrected = receivedText(contact);
    editCell(contact, kReceivedColumn, [&corrected](DataGrid& grid) {
        // the first key opens the cell's editor with itself in place of the old text
        QTest::keyClicks(&grid, corrected.left(1));
        QTest::keyClicks(QApplication::focusWidget(), corrected.mid(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    m_liveInTour.push_back(index);
    ++m_figures.corrections;
}

void SoakContest::takeBackContact()
{
    const int index = pickLiveContact();
    if (index < 0) {
        return;
    }
    Contact& contact = m_contacts.at(index);
    editCell(contact, kTimeColumn, [](DataGrid& grid) {
        QTest::keyClick(&grid, Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    contact.live = false;
    m_takenBack.at(contact.band).push_back(contact.participant);
    ++m_figures.takeBacks;
}

void SoakContest::editCell(const Contact& contact, int column, const std::function<void(DataGrid&)>& typing)
{
    const QString callsign = m_callsigns.at(contact.participant);
    setEditMode(true);
    activate(contact.band);
    TableView& view = controls(m_form).bandView(contact.band);
    DataGrid& grid = controls(m_form).bandGrid(contact.band);
    if (!view.locate(u"CallSign"_s, {callsign}, true) || view.isNull(u"T"_s)) {
        throw SoakFailure(qPrintable(u"the worked contact with %1 is not in its band view"_s.arg(callsign)));
    }
    const int row = view.currentRow();
    grid.setCurrentIndex(grid.model()->index(row, column));
    typing(grid);
    settle();
    if (QApplication::focusWidget() != &grid) {
        throw SoakFailure("the cell editor did not close on Enter");
    }
    // leaving the row posts the change
    QTest::keyClick(&grid, row > 0 ? Qt::Key_Up : Qt::Key_Down);
    settle();
    setEditMode(false);
    checkNoComplaint(u"going back over the contact with %1"_s.arg(callsign));
}

SoakContest::PlannedRow& SoakContest::planned(int participant, int band, int tour)
{
    return m_plannedRows.at((size_t(participant) * kBands + size_t(band)) * size_t(m_plan.tours) + size_t(tour - 1));
}

void SoakContest::checkNoComplaint(const QString& step)
{
    if (QWidget* modal = QApplication::activeModalWidget()) {
        // a window left open over the main window stops the operator: told, then closed as the operator would
        tell(m_leftOpen,
             u"a %1 stayed open after %2"_s.arg(QString::fromLatin1(modal->metaObject()->className()), step));
        QTest::keyClick(modal, Qt::Key_Escape);
        settle();
        if (QApplication::activeModalWidget() == modal) {
            modal->close();
        }
    }
    if (!m_errors.isEmpty() || !m_prompter.messages.isEmpty()) {
        throw SoakFailure(
            qPrintable(u"%1: the window said %2"_s.arg(step, (m_errors + m_prompter.messages).join(u" / "_s))));
    }
}

void SoakContest::checkReportEndsWith(const Contact& contact)
{
    // the report is rewritten after every contact: its last contact line is this one
    QFile report(QDir(m_form->database().directory()).filePath(u"Report.txt"_s));
    if (!report.open(QIODevice::ReadOnly) || !report.seek(std::max<qint64>(0, report.size() - kTailBytes))) {
        throw SoakFailure("Report.txt cannot be read");
    }
    const QByteArray tail = report.readAll();
    if (!tail.contains(cp1251(u'\n' + reportLine(contact) + u"\r\n-----"_s))) {
        throw SoakFailure(
            qPrintable(u"Report.txt does not end with the contact just entered: %1"_s.arg(reportLine(contact))));
    }
}

QString SoakContest::sentText(const Contact& contact) const
{
    return QString::number(kOperatorKi) + u' ' + threeDigits(contact.serial);
}

QString SoakContest::receivedText(const Contact& contact) const
{
    return twoDigits(contact.region) + u' ' + threeDigits(contact.receivedSerial);
}

QString SoakContest::reportLine(const Contact& contact) const
{
    const BandName& band = kBandNames.at(contact.band);
    const QDateTime utc = localAt(contact.atMs).toUTC();
    return QStringList{QString::number(band.metres) + u' ' + band.mode,
                       reportDate(utc),
                       u"  "_s + utc.time().toString(u"HH:mm"_s) + u"  "_s,
                       m_callsigns.at(contact.participant),
                       sentText(contact),
                       receivedText(contact)}
        .join(u'\t');
}

QStringList SoakContest::disagreements()
{
    return m_leftOpen + journalDisagreements() + contestDisagreements() + scoreDisagreements() + reportDisagreements();
}

QStringList SoakContest::journalDisagreements()
{
    QStringList problems;
    Statement rows = m_form->database().prepare(
        u"SELECT ContestNumber, TourNumber, Diapasone, Modulation, CallSign, D, T, SentText, RecvText, KI "
        "FROM Journal ORDER BY ID"_s);
    int row = 0;
    int live = 0;
    auto contact = m_contacts.cbegin();
    for (; rows.step(); ++row) {
        contact = std::find_if(contact, m_contacts.cend(), [](const Contact& c) { return c.live; });
        const QString found = describeRow(rows, 10);
        if (contact == m_contacts.cend()) {
            tell(problems, u"Journal row %1 was never entered: %2"_s.arg(row + 1).arg(found));
            continue;
        }
        const BandName& band = kBandNames.at(contact->band);
        const QDateTime at = localAt(contact->atMs);
        const QString expected = QStringList{QString::number(kContestNumber),
                                             QString::number(contact->tour),
                                             QString::number(band.metres),
                                             band.mode,
                                             m_callsigns.at(contact->participant),
                                             at.date().toString(Qt::ISODate),
                                             at.time().toString(u"HH:mm:ss.zzz"_s),
                                             sentText(*contact),
                                             receivedText(*contact),
                                             twoDigits(contact->region)}
                                     .join(u'|');
        if (found != expected) {
            tell(problems, u"Journal row %1 is %2, entered as %3"_s.arg(row + 1).arg(found, expected));
        }
        ++contact;
    }
    live = int(std::count_if(m_contacts.cbegin(), m_contacts.cend(), [](const Contact& c) { return c.live; }));
    if (row != live || controls(m_form).journalView().recordCount() != live) {
        tell(problems,
             u"the Journal holds %1 rows and its view %2, for %3 contacts standing"_s.arg(row)
                 .arg(controls(m_form).journalView().recordCount())
                 .arg(live));
    }
    return problems;
}

QStringList SoakContest::contestDisagreements()
{
    QStringList problems;
    Statement rows = m_form->database().prepare(
        u"SELECT ContestNumber, Diapasone, Modulation, TourNumber, CallSign, D, T, SentText, RecvText "
        "FROM Contest ORDER BY ID"_s);
    // the matrices in the order of the list: every band and mode, each tour 1..N
    const size_t expectedRows = m_plannedRows.size();
    size_t row = 0;
    for (; rows.step(); ++row) {
        if (row >= expectedRows) {
            continue;
        }
        const int tour = int(row % size_t(m_plan.tours)) + 1;
        const int band = int(row / size_t(m_plan.tours) % kBands);
        const int participant = int(row / size_t(m_plan.tours * kBands));
        const BandName& name = kBandNames.at(band);
        QStringList expected = {QString::number(kContestNumber), QString::number(name.metres), name.mode,
                                QString::number(tour), m_callsigns.at(participant)};
        const int worked = planned(participant, band, tour).contact;
        if (worked < 0) {
            expected << QString() << QString() << QString() << QString();
        } else {
            // a take-back clears the time alone
            const Contact& contact = m_contacts.at(worked);
            const QDateTime at = localAt(contact.atMs);
            expected << at.date().toString(Qt::ISODate)
                     << (contact.live ? at.time().toString(u"HH:mm:ss.zzz"_s) : QString()) << sentText(contact)
                     << receivedText(contact);
        }
        const QString found = describeRow(rows, 9);
        if (found != expected.join(u'|')) {
            tell(problems, u"Contest row %1 is %2, entered as %3"_s.arg(row + 1).arg(found, expected.join(u'|')));
        }
    }
    if (row != expectedRows) {
        tell(problems, u"the Contest table holds %1 rows, not %2"_s.arg(row).arg(expectedRows));
    }
    return problems;
}

Score SoakContest::expectedScore() const
{
    Score score;
    QSet<int> correspondents;
    QSet<int> regions;
    for (const Contact& contact : m_contacts) {
        if (contact.live) {
            ++score.contacts;
            correspondents.insert(contact.participant);
            regions.insert(contact.region);
        }
    }
    score.correspondents = int(correspondents.size());
    score.regions = int(regions.size());
    ScoreTotals& totals = score.totals;
    totals.contactPoints = score.contacts;
    totals.correspondentPoints = 4 * score.correspondents;
    totals.regionPoints = 3 * score.regions;
    totals.totalPoints = totals.contactPoints + totals.correspondentPoints + totals.regionPoints;
    return score;
}

QStringList SoakContest::scoreDisagreements()
{
    const Score score = expectedScore();
    const ScoreTotals& totals = score.totals;
    const QString expected = u"СВ=%1  КР=%2(%3)  РН=%4(%5)  Всего=%6"_s.arg(totals.contactPoints)
                                 .arg(totals.correspondentPoints)
                                 .arg(score.correspondents)
                                 .arg(totals.regionPoints)
                                 .arg(score.regions)
                                 .arg(totals.totalPoints);
    QStringList problems;
    const QString shown = controls(m_form).statusBar1().panelText(kScorePanel);
    if (shown != expected) {
        problems << u"the score reads %1, not %2"_s.arg(shown, expected);
    }
    if (!(m_form->scoreTotals() == totals)) {
        problems << u"the score totals kept for the report are not those of the status bar"_s;
    }
    return problems;
}

QStringList SoakContest::reportDisagreements()
{
    QStringList expected = {u" Band\t   Date   \tUTC-Time\t Sign\t Sent\t Recv"_s};
    for (const Contact& contact : m_contacts) {
        if (contact.live) {
            expected << reportLine(contact);
        }
    }
    const ScoreTotals totals = expectedScore().totals;
    expected << u"-----------------------------"_s << u"Очки за связи:           %1"_s.arg(totals.contactPoints)
             << u"Очки за корреспондентов: %1"_s.arg(totals.correspondentPoints)
             << u"Очки за районы:          %1"_s.arg(totals.regionPoints)
             << u"Всего очков:             %1"_s.arg(totals.totalPoints);

    QStringList problems;
    const QDir folder(m_form->database().directory());
    QFile file(folder.filePath(u"Report.txt"_s));
    if (!file.open(QIODevice::ReadOnly)) {
        return {u"Report.txt cannot be read"_s};
    }
    const QList<QByteArray> found = file.readAll().split('\n');
    for (int line = 0; line < expected.size() || line + 1 < found.size(); ++line) {
        const QByteArray want = line < expected.size() ? cp1251(expected.at(line)) + '\r' : QByteArray();
        const QByteArray have = line + 1 < found.size() ? found.at(line) : QByteArray();
        if (want != have) {
            tell(problems,
                 u"Report.txt line %1 is \"%2\", not \"%3\""_s.arg(line + 1).arg(QString::fromLatin1(have),
                                                                                 QString::fromLatin1(want)));
        }
    }
    if (found.size() != expected.size() + 1 || !found.last().isEmpty()) {
        tell(problems,
             u"Report.txt has %1 lines, not %2 each ended by CR LF"_s.arg(found.size() - 1).arg(expected.size()));
    }
    if (!QFile::exists(folder.filePath(u"Report.000"_s))) {
        tell(problems, u"the previous report was not kept as Report.000"_s);
    }
    return problems;
}
