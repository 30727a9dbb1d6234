// The status panel of the main window.
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "core/AppCore.h"
#include "dialer/DialSessionController.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

constexpr double kColumn = 0.45;
constexpr int kTitlePixels = 13;
constexpr int kRowPixels = 11;
constexpr int kSmallestPixels = 6;
constexpr const char* kStatusError = "Fout tijdens updaten status, neem contact op met Brokkel!";

QFont PanelFont(int pixels, bool bold) {
    QFont font("Arial");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The largest font up to the given size at which every text fits its room, so long words of
// a language file shrink the text instead of being cut off.
QFont FittingFont(int pixels, bool bold, const std::function<bool(const QFontMetrics&)>& fits) {
    for (; pixels > kSmallestPixels; --pixels) {
        const QFont font = PanelFont(pixels, bold);
        if (fits(QFontMetrics(font))) {
            return font;
        }
    }
    return PanelFont(kSmallestPixels, bold);
}

int TextWidth(const QFontMetrics& metrics, const std::string& text) {
    return metrics.horizontalAdvance(ToQt(text));
}

}  // namespace

StatusInputs frmMain::CollectStatus() const {
    StatusInputs in;
    if (dialer_ == nullptr) {
        return in;
    }
    const DialSession& s = dialer_->Session();
    in.statusState = s.StatusState;
    if (const ConnectionProfile* profile = app_.profiles.Find(s.CurProfile)) {
        in.profileName = profile->Name;
    }
    in.dialCount = s.DialCount;
    in.lastError = s.LastErrorCode;
    in.dialsPerMinute = s.DialsPerMinute;
    in.dualActive = s.DualActive;
    in.onlineSeconds = s.OnlineSeconds;
    in.chargesText = s.ChargesText;
    const auto charges = ParseCurrency(s.ChargesText, RegionalFormat::FromCurrentLocale());
    in.chargesZero = !charges.has_value() || charges->tenThousandths == 0;
    in.ipAddress = s.IpAddress;
    return in;
}

void frmMain::PaintStatus() {
    layout_ = BuildStatusLayout(CollectStatus(), app_.lang);
    if (!layout_) {
        app_.platform.messages.Information(kStatusError, "Kestrelon 2000");
        Exit();
        return;
    }
    DrawPanel(*layout_, isVisible());
    if (isVisible()) {
        pctStatDisp->setPixmap(QPixmap::fromImage(pctStatus_));
    }
    if (!layout_->tooltip.empty() && layout_->tooltip != lastTip_) {
        tray_.TrayModify(kTrayIconId, nullptr, layout_->tooltip);
        lastTip_ = layout_->tooltip;
    }
}

void frmMain::DrawPanel(const StatusLayout& layout, bool rows) {
    const int w = pctStatus_.width();
    const int h = pctStatus_.height();
    pctStatus_.fill(Qt::white);
    QPainter painter(&pctStatus_);
    painter.setPen(Qt::black);
    const auto print = [&](const std::string& text, int x, int y) {
        painter.drawText(x, y + painter.fontMetrics().ascent(), ToQt(text));
    };

    if (layout.welcome) {
        const int lines = static_cast<int>(layout.welcomeLines.size());
        painter.setFont(FittingFont(kRowPixels, true, [&](const QFontMetrics& m) {
            if (m.lineSpacing() * lines > h) {
                return false;
            }
            for (const std::string& line : layout.welcomeLines) {
                if (TextWidth(m, line) > w) {
                    return false;
                }
            }
            return true;
        }));
        const QFontMetrics m = painter.fontMetrics();
        int y = (h - m.lineSpacing() * lines) / 2;
        for (const std::string& line : layout.welcomeLines) {
            print(line, (w - TextWidth(m, line)) / 2, y);
            y += m.lineSpacing();
        }
        return;
    }

    painter.setFont(FittingFont(kTitlePixels, true, [&](const QFontMetrics& m) {
        return TextWidth(m, layout.title) <= w;
    }));
    print(layout.title, (w - TextWidth(painter.fontMetrics(), layout.title)) / 2, 0);
    if (!rows) {
        return;
    }
    const int lineEnd = painter.fontMetrics().height();
    const int column = static_cast<int>(kColumn * w);
    painter.drawLine(0, lineEnd, w, lineEnd);
    painter.drawLine(column, lineEnd, column, h);

    const int rowHeight = h / std::max(layout.rows, 1);
    painter.setFont(FittingFont(kRowPixels, false, [&](const QFontMetrics& m) {
        if (m.height() > rowHeight) {
            return false;
        }
        for (const StatusRow& row : layout.rowTexts) {
            if (TextWidth(m, row.label) > column || TextWidth(m, row.value) > w - column) {
                return false;
            }
        }
        return true;
    }));
    const QFontMetrics m = painter.fontMetrics();
    // Centred in its row, so the text keeps clear of the rule under the title.
    const int inRow = std::max(0, (rowHeight - m.height()) / 2);
    int y = rowHeight;
    for (const StatusRow& row : layout.rowTexts) {
        print(row.label, column - TextWidth(m, row.label), y + inRow);
        print(row.value, column, y + inRow);
        y += rowHeight;
    }
}

}  // namespace kestrelon
