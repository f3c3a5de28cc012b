#include "shell/FormStorage.h"

#include "shell/ContestFile.h"
#include "shell/ErrorBox.h"
#include "shell/SettingsFormat.h"
#include "store/StoreError.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <exception>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kSection = u"TForm1"_s;
constexpr int kFormVersion = 0;
constexpr int kPlacementFlags = 0;
constexpr int kUnusedPosition = -1;

// show commands as the file numbers them; 6 and 7 are further minimised kinds, anything unknown is normal
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kShowMinimizedAlternatives[] = {kShowMinimized, 6, 7};
constexpr Qt::WindowStates kSizeStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

QString screenSizeSuffix()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(0, 0);
    return u"(%1x%2)"_s.arg(size.width()).arg(size.height());
}

// a monitor unplugged since the last run must not take the window out of reach
bool isOnSomeScreen(const QRect& rect)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&rect](const QScreen* screen) { return screen->geometry().intersects(rect); });
}

// the screen-size key first; the plain key holds the last placement saved at any size
QString readSizedOrPlain(const ProfileFile& profile, const QString& key)
{
    const QString sized = profile.value(kSection, key + screenSizeSuffix(), QString());
    return sized.isEmpty() ? profile.value(kSection, key, QString()) : sized;
}

void writeSizedAndPlain(ProfileFile& profile, const QString& key, const QString& value)
{
    profile.setValue(kSection, key + screenSizeSuffix(), value);
    profile.setValue(kSection, key, value);
}

int showCommand(const QWidget* window)
{
    if (window->isMinimized()) {
        return kShowMinimized;
    }
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return kShowMaximized;
    }
    return kShowNormal;
}

QRect normalRect(const QWidget* window)
{
    const QRect normal = window->normalGeometry();
    return normal.isValid() ? normal : window->geometry();
}

template<std::size_t N>
bool isOneOf(int value, const int (&choices)[N])
{
    return std::find(std::begin(choices), std::end(choices), value) != std::end(choices);
}

} // namespace

FormStorage::FormStorage(QWidget* window, std::vector<StoredProperty> properties, QString filePath)
    : m_window(window)
    , m_properties(std::move(properties))
    , m_filePath(std::move(filePath))
{
}

FormStorage::~FormStorage()
{
    if (m_saved) {
        return;
    }
    try {
        write(true);
    } catch (...) {
        reportCurrentException(nullptr);
    }
}

void FormStorage::restore()
{
    m_saved = false;
    ProfileFile profile(m_filePath);
    // an unreadable file reads as empty: every control keeps its value
    profile.load();
    std::exception_ptr firstFailure;
    if (parseProfileInteger(profile.value(kSection, u"FormVersion"_s, QString()), 0) >= kFormVersion) {
        restorePlacement(profile);
        restoreWindowState(profile);
        firstFailure = applyStoredTexts(m_properties, profile, kSection, &StoredProperty::key);
    }
    m_restored = true;
    if (firstFailure) {
        std::rethrow_exception(firstFailure);
    }
}

std::optional<int> FormStorage::wholeNumberToRestore(const QString& component) const
{
    ProfileFile profile(m_filePath);
    profile.load();
    if (parseProfileInteger(profile.value(kSection, u"FormVersion"_s, QString()), 0) < kFormVersion) {
        return std::nullopt;
    }
    return storedWholeNumber(m_properties, component, profile, kSection, &StoredProperty::key);
}

void FormStorage::restorePlacement(const ProfileFile& profile)
{
    const QString minMaxPos = readSizedOrPlain(profile, u"MinMaxPos"_s);
    const QString normPos = readSizedOrPlain(profile, u"NormPos"_s);
    const int pixelsPerInch = m_window->logicalDpiY();
    const int savedPixelsPerInch = parseProfileInteger(profile.value(kSection, u"PixelsPerInch"_s, QString()),
                                                       pixelsPerInch);
    if ((minMaxPos.isEmpty() && normPos.isEmpty()) || savedPixelsPerInch != pixelsPerInch) {
        return;
    }
    const QRect current = m_window->geometry();
    const FourNumbers edges = parseFourNumbers(
        normPos, {current.left(), current.top(), current.left() + current.width(), current.top() + current.height()});
    const QRect rect(edges.a, edges.b, edges.c - edges.a, edges.d - edges.b);
    if (rect.isValid() && isOnSomeScreen(rect)) {
        m_window->setGeometry(rect);
    }
}

void FormStorage::restoreWindowState(const ProfileFile& profile)
{
    const int command = parseProfileInteger(profile.value(kSection, u"ShowCmd"_s, QString()), 0);
    const Qt::WindowStates others = m_window->windowState() & ~kSizeStates;
    if (isOneOf(command, kShowMinimizedAlternatives)) {
        // the window opens normal and goes down once the event loop runs, so that it is shown first
        m_window->setWindowState(others);
        QWidget* window = m_window;
        QTimer::singleShot(0, window,
                           [window] { window->setWindowState(window->windowState() | Qt::WindowMinimized); });
    } else if (command == kShowMaximized) {
        m_window->setWindowState(others | Qt::WindowMaximized);
    } else {
        m_window->setWindowState(others);
    }
}

void FormStorage::save()
{
    write(false);
}

QString FormStorage::saveAfterContact()
{
    return toldOnce([this] { save(); });
}

QString FormStorage::saveContestValues()
{
    return toldOnce([this] {
        if (m_restored && m_contestFile) {
            m_contestFile->save();
        }
    });
}

QString FormStorage::toldOnce(const std::function<void()>& save)
{
    try {
        save();
        m_failureTold = false;
        return {};
    } catch (const StoreError& error) {
        const bool told = std::exchange(m_failureTold, true);
        return told ? QString() : error.message();
    }
}

void FormStorage::write(bool destroying)
{
    if (!m_restored) {
        return;
    }
    m_saved = false;
    ProfileFile profile(m_filePath);
    profile.load();
    profile.setValue(kSection, u"FormVersion"_s, QString::number(kFormVersion));
    profile.setValue(kSection, u"Flags"_s, QString::number(kPlacementFlags));
    profile.setValue(kSection, u"ShowCmd"_s, QString::number(showCommand(m_window)));
    profile.setValue(kSection, u"PixelsPerInch"_s, QString::number(m_window->logicalDpiY()));
    writeSizedAndPlain(profile, u"MinMaxPos"_s,
                       formatFourNumbers(kUnusedPosition, kUnusedPosition, kUnusedPosition, kUnusedPosition));
    const QRect normal = normalRect(m_window);
    writeSizedAndPlain(
        profile, u"NormPos"_s,
        formatFourNumbers(normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()));
    profile.setValue(kSection, u"Visible"_s, destroying ? u"1"_s : u"0"_s);
    for (const StoredProperty& property : m_properties) {
        profile.setValue(kSection, property.key(), storedText(property));
    }
    // the contest's serial goes to its own folder first: that copy is the one the folder opens with
    std::exception_ptr firstFailure;
    if (m_contestFile) {
        try {
            m_contestFile->save();
        } catch (const StoreError&) {
            firstFailure = std::current_exception();
        }
    }
    profile.save();
    if (firstFailure) {
        std::rethrow_exception(firstFailure);
    }
    m_saved = true;
}
