// The main window in every status state and the tray pictures. The texts must fit the panel
// in English and in a language with longer words. With KESTRELON_SCREENSHOT_DIR set, the
// pictures are also written there as PNG files.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "core/Currency.h"
#include "dialer/DialSessionController.h"
#include "dialer/RasFunc.h"
#include "dialer/SimulatedRas.h"
#include "mainwindow/TrayCounter.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtTrayService.h"

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

QString ScreenshotDir() {
    const char* dir = std::getenv("KESTRELON_SCREENSHOT_DIR");
    return dir != nullptr ? QString::fromLocal8Bit(dir) : QString();
}

void Save(const QImage& image, const QString& name) {
    const QString dir = ScreenshotDir();
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(image.save(dir + "/" + name + ".png")) << name.toStdString();
    }
}

bool Dark(QRgb pixel) {
    return qGray(pixel) < 128;
}

// Text cut off at the panel's edges leaves ink in its outermost columns and rows; only the
// two lines may touch them.
void ExpectNothingCut(const QImage& panel, const std::string& what) {
    const int w = panel.width();
    const int h = panel.height();
    const int column = static_cast<int>(0.45 * w);
    for (int y = 0; y < h; ++y) {
        for (int x : {0, w - 1}) {
            const bool onRule = Dark(panel.pixel(1, y)) && Dark(panel.pixel(w / 2, y));
            EXPECT_FALSE(Dark(panel.pixel(x, y)) && !onRule) << what << " at " << x << "," << y;
        }
    }
    for (int x = 0; x < w; ++x) {
        if (x != column) {
            EXPECT_FALSE(Dark(panel.pixel(x, h - 1))) << what << " at " << x << "," << h - 1;
        }
    }
}

class MainWindowScreens : public test::WindowTest {
  protected:
    MainWindowScreens() {
        std::filesystem::create_directories(dir_.File("ras"));
        test::WriteFile(dir_.File("ras/rasphone.pbk"), "[Office ISDN]\n");
        for (const char* name : {"Home Modem", "Office ISDN", "Weekend Flatrate"}) {
            ConnectionProfile& p = app_.profiles.ConProf[++app_.profiles.nProfs];
            p.Name = name;
            p.Con1 = name;
        }
        app_.SelProfile = 2;
    }

    // The session in the given state, then one paint.
    void Show(frmMain& window, DialSessionController& dialer, int state, bool busy) {
        DialSession& s = dialer.Session();
        s = DialSession{};
        s.StatusState = state;
        s.CurProfile = 2;
        if (state >= kStatusDialing && state <= kStatusAborted) {
            s.DialCount = busy ? 7 : 0;
            s.LastErrorCode = busy ? 676 : 0;
            s.DialsPerMinute = 2.57f;
            s.DualActive = busy && state == kStatusDialing;
            s.OnlineSeconds = busy ? 163 : 4;
        } else if (state >= kStatusConnected) {
            s.OnlineSeconds = 3725;
            // In the money format of the locale, as the charges are written.
            s.ChargesText =
                FormatCurrency(Currency{busy ? 12500 : 0}, RegionalFormat::FromCurrentLocale());
            s.IpAddress = "192.168.100.101";
        }
        window.PaintStatus();
    }

    void Shoot(const std::string& language, const QString& suffix) {
        SimulatedRas service(dir_.File("ras"), fake_.clock, fake_.clock);
        RasFunc ras(service, app_.lang);
        DialSessionController dialer(app_, ras, app_.profiles, app_.SelProfile);
        frmMain window(app_);
        window.AttachDialer(dialer);
        window.LoadWindow();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const struct {
            const char* name;
            int state;
            bool busy;
        } shots[] = {
            {"welcome", kStatusWelcome, false},
            {"dialing-first", kStatusDialing, false},
            {"dialing-rates", kStatusDialing, true},
            {"authorising", kStatusAuthorising, true},
            {"error", kStatusConnectionError, true},
            {"aborted", kStatusAborted, true},
            {"connected", kStatusConnected, false},
            {"connected-charges", kStatusConnected, true},
            {"disconnected", kStatusDisconnected, true},
        };
        for (const auto& shot : shots) {
            Show(window, dialer, shot.state, shot.busy);
            if (shot.state == kStatusConnected || shot.state == kStatusDisconnected) {
                EXPECT_EQ(window.LastStatusLayout()->rows, shot.busy ? 5 : 4) << shot.name;
            }
            ExpectNothingCut(window.StatusBuffer(), language + " " + shot.name);
            QTest::qWait(20);
            Save(window.grab().toImage(), QString("main-") + shot.name + suffix);
        }
        (void)language;
    }
};

TEST_F(MainWindowScreens, EveryStateFitsThePanelInEnglish) {
    Shoot("English", "");
}

TEST_F(MainWindowScreens, EveryStateFitsThePanelWithLongerWords) {
    UseLanguage(
        "Deutsch",
        "stdialing=WÄHLVORGANG LÄUFT\nstauthorising=AUTHENTIFIZIERUNG\n"
        "stconnerror=VERBINDUNGSFEHLER AUFGETRETEN\nstaborted=ABGEBROCHEN\n"
        "stconnected=VERBUNDEN\nstdisconnected=VERBINDUNG GETRENNT\n"
        "stconnection=Verbindungsprofil \nstdials=Wählversuche \nsttime=Verbindungszeit \n"
        "stdpm=Wahlen pro Minute \nstlasterror=Letzter Fehler \ncharges=Gebühren\n"
        "ipaddress=IP-Adresse \nwelc1=Herzlich willkommen\n"
        "welc2=Willkommen bei Kestrelon 2000\nwelc3=Ihr Verbindungsmanager für Wählverbindungen\n"
        "conprof=Verbindungsprofil\ndial=Wählen\ndisconnect=Trennen\n");
    Shoot("Deutsch", "-de");
}

// The counter enlarged sixteen times on a checkerboard, so its transparency shows.
QImage Enlarged(const IconImage& icon) {
    constexpr int kScale = 16;
    QImage out(icon.width * kScale, icon.height * kScale, QImage::Format_ARGB32);
    QPainter painter(&out);
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            const QRect cell(x * kScale, y * kScale, kScale, kScale);
            painter.fillRect(cell,
                             (x + y) % 2 == 0 ? QColor(200, 200, 200) : QColor(235, 235, 235));
            const std::uint32_t p = icon.At(x, y);
            if ((p >> 24) != 0) {
                painter.fillRect(cell, QColor::fromRgba(p));
            }
        }
    }
    painter.end();
    return out;
}

TEST(TrayPictures, TheCounterAndTheStaticIconsAsTheyAreShown) {
    const struct {
        const char* name;
        const char* digits;
        int mode;
    } counters[] = {{"tray-counter-1-02", "102", 0},
                    {"tray-counter-0-05", "005", 2},
                    {"tray-counter-12-3", "123", 3}};
    for (const auto& c : counters) {
        const IconImage icon = PlotTimeImage(c.digits, PaletteColour(10), c.mode);
        const QImage big = Enlarged(icon);
        EXPECT_EQ(big.size(), QSize(256, 256));
        Save(big, c.name);
    }

    // All pictures at 16 and 22 pixels on a light and a dark panel.
    const IconImage pictures[] = {
        frmMain::OfflineIcon(), frmMain::OnlineIcon(), PlotTimeImage("102", PaletteColour(10), 0),
        PlotTimeImage("005", PaletteColour(14), 2), PlotTimeImage("123", PaletteColour(12), 3)};
    QImage sheet(6 * 30, 2 * 60, QImage::Format_ARGB32);
    QPainter painter(&sheet);
    painter.fillRect(0, 0, sheet.width(), 60, QColor(236, 236, 236));
    painter.fillRect(0, 60, sheet.width(), 60, QColor(40, 40, 44));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    int x = 6;
    for (const IconImage& picture : pictures) {
        const QImage image = ToQImage(picture);
        for (int band = 0; band < 2; ++band) {
            painter.drawImage(QRect(x, band * 60 + 6, 16, 16), image);
            painter.drawImage(QRect(x, band * 60 + 30, 22, 22), image);
        }
        x += 34;
    }
    painter.end();
    // The static icons keep their dark rim, so they stand out on a light panel.
    const QImage offline = ToQImage(frmMain::OfflineIcon());
    EXPECT_LT(qGray(offline.pixel(8, 0)), 128);
    EXPECT_GT(qAlpha(offline.pixel(8, 8)), 200);
    Save(sheet, "tray-icons");
}

}  // namespace
}  // namespace kestrelon
