#pragma once
// A program folder with draw files, the settings cleared and the test's own state loaded as the
// main window loads it.
#include "common/appstate.h"
#include "history/drawfile.h"
#include "history/lottery.h"
#include "platform/ui/messagebox.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QSettings>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace historywindows_test {

// Draws <year><serial> of consecutive serials from firstSerial, numbers 100, 101, ... (mod 1000).
inline QStringList MakeDraws(int count, int firstSerial = 1, int year = 2024) {
    QStringList d;
    for (int i = 0; i < count; ++i)
        d << QStringLiteral("%1%2 %3")
                 .arg(year)
                 .arg(firstSerial + i, 3, 10, QLatin1Char('0'))
                 .arg((100 + i) % 1000, 3, 10, QLatin1Char('0'));
    return d;
}

// A window's control found by its objectName; the test fails when the window has none of that name
// and kind.
template <class T>
T* Control(const QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    if (!control) ADD_FAILURE() << "no control " << name;
    return control;
}

inline QByteArray MakeRecords(const QStringList& drawTexts) {
    QByteArray b;
    for (const QString& t : drawTexts) b += history::EncodeDrawRecord(t);
    return b;
}

class WindowFixture : public ::testing::Test {
protected:
    common::AppState app;  // the run's state for this test; outlives every window handed it
    testsupport::ProgramDir dir;
    std::unique_ptr<testsupport::EnvVar> home = std::make_unique<testsupport::EnvVar>("SIFMORA_HOME_URL", QString());

    testsupport::HookReset<&ui::SetModalHandler> modalReset;

    // Also called again by a test for a fresh start.
    void SetUp() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane")).clear();
        app.reset();
    }
    // Writes the draw files and loads the lottery of the settings as the main window's start does.
    void load(const QStringList& draws3d, const QStringList& drawsP3 = {}) {
        dir.write("HAO.TXT", MakeRecords(draws3d));
        dir.write("HAOP3.TXT", MakeRecords(drawsP3));
        ASSERT_TRUE(history::LoadSavedLottery(app));
    }
};

}  // namespace historywindows_test
