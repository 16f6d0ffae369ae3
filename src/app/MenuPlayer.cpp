#include "MenuPlayer.h"

#include <QFile>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace app {
namespace {

constexpr int kFrameMs = 40;
constexpr double kTilePad = 8;

QColor colorOf(const QJsonValue& v, const QColor& fallback) {
    const QColor c(v.toString());
    return c.isValid() ? c : fallback;
}

QFont menuFont(double pixels, bool bold = false) {
    QFont f(QStringLiteral("黑体"));
    f.setPixelSize(std::max(9, static_cast<int>(pixels)));
    f.setBold(bold);
    return f;
}

// The largest font up to `pixels` in which the text fits the width.
QFont fittedFont(const QString& text, double pixels, double width, bool bold) {
    QFont f = menuFont(pixels, bold);
    while (f.pixelSize() > 9 && QFontMetricsF(f).horizontalAdvance(text) > width) {
        f.setPixelSize(f.pixelSize() - 1);
    }
    return f;
}

}  // namespace

bool LoadMenuDescription(const QString& file, MenuDescription* menu, QString* error) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open %1").arg(file);
        return false;
    }
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = QStringLiteral("%1: %2 at offset %3")
                     .arg(file, parseError.errorString())
                     .arg(parseError.offset);
        return false;
    }
    const QJsonObject root = doc.object();
    MenuDescription m;
    m.title = root.value(QStringLiteral("title")).toString();
    m.subtitle = root.value(QStringLiteral("subtitle")).toString();
    m.footer = root.value(QStringLiteral("footer")).toString();
    const QJsonArray background = root.value(QStringLiteral("background")).toArray();
    m.backgroundTop = colorOf(background.at(0), QColor(12, 52, 98));
    m.backgroundBottom = colorOf(background.at(1), QColor(30, 110, 170));
    for (const QJsonValue sv : root.value(QStringLiteral("sections")).toArray()) {
        const QJsonObject so = sv.toObject();
        MenuSection s;
        s.caption = so.value(QStringLiteral("caption")).toString();
        const QJsonArray area = so.value(QStringLiteral("area")).toArray();
        s.area = QRectF(area.at(0).toDouble(), area.at(1).toDouble(), area.at(2).toDouble(),
                        area.at(3).toDouble());
        s.columns = std::max(1, so.value(QStringLiteral("columns")).toInt(1));
        s.accent = colorOf(so.value(QStringLiteral("accent")), QColor(60, 140, 210));
        for (const QJsonValue iv : so.value(QStringLiteral("items")).toArray()) {
            const QJsonObject io = iv.toObject();
            MenuItem item{io.value(QStringLiteral("caption")).toString(),
                          io.value(QStringLiteral("detail")).toString(),
                          io.value(QStringLiteral("command")).toString(),
                          colorOf(io.value(QStringLiteral("accent")), s.accent)};
            if (item.caption.isEmpty() || item.command.isEmpty()) {
                *error = QStringLiteral("%1: an item of \"%2\" lacks caption or command")
                             .arg(file, s.caption);
                return false;
            }
            s.items << item;
        }
        if (s.area.isEmpty() || s.items.isEmpty()) {
            *error =
                QStringLiteral("%1: section \"%2\" has no area or no items").arg(file, s.caption);
            return false;
        }
        m.sections << s;
    }
    if (m.sections.isEmpty()) {
        *error = QStringLiteral("%1: no sections").arg(file);
        return false;
    }
    *menu = m;
    return true;
}

MenuPlayer::MenuPlayer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ShockwaveFlash1"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, [this] {
        // Hover glow eases in and out; the background drifts slowly.
        for (int s = 0; s < glow_.size(); ++s) {
            for (int i = 0; i < glow_[s].size(); ++i) {
                const double target = (hover_ == Hit{s, i} || focus_ == Hit{s, i}) ? 1.0 : 0.0;
                glow_[s][i] += (target - glow_[s][i]) * 0.35;
            }
        }
        update();
    });
}

bool MenuPlayer::setMovie(const QString& file) {
    QString error;
    MenuDescription menu;
    if (!LoadMenuDescription(file, &menu, &error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    menu_ = menu;
    glow_.clear();
    for (const MenuSection& s : menu_.sections)
        glow_ << QVector<double>(s.items.size(), 0.0);
    hover_ = pressed_ = focus_ = Hit{};
    clock_.start();
    frame_.start();
    update();
    return true;
}

QRectF MenuPlayer::sectionRect(int section) const {
    const QRectF a = menu_.sections[section].area;
    return QRectF(a.x() * width(), a.y() * height(), a.width() * width(), a.height() * height());
}

QRectF MenuPlayer::itemRect(int section, int item) const {
    const MenuSection& s = menu_.sections[section];
    const QRectF area = sectionRect(section);
    const double header = std::max(26.0, height() * 0.045);
    const QRectF body = area.adjusted(kTilePad, header + kTilePad, -kTilePad, -kTilePad);
    const int columns = s.columns;
    const auto rows = static_cast<int>((s.items.size() + columns - 1) / columns);
    const double w = (body.width() - (columns - 1) * kTilePad) / columns;
    const double h = (body.height() - (rows - 1) * kTilePad) / rows;
    const int row = item / columns;
    const int col = item % columns;
    return QRectF(body.x() + col * (w + kTilePad), body.y() + row * (h + kTilePad), w, h);
}

MenuPlayer::Hit MenuPlayer::hitAt(const QPointF& pos) const {
    for (int s = 0; s < menu_.sections.size(); ++s) {
        for (int i = 0; i < menu_.sections[s].items.size(); ++i) {
            if (itemRect(s, i).contains(pos)) return {s, i};
        }
    }
    return {};
}

double MenuPlayer::hoverLevel(const Hit& h) const {
    if (!h.valid() || h.section >= glow_.size() || h.item >= glow_[h.section].size()) return 0;
    return glow_[h.section][h.item];
}

void MenuPlayer::setAvailability(std::function<bool(const QString& command)> available) {
    available_ = std::move(available);
    update();
}

bool MenuPlayer::isAvailable(int section, int item) const {
    if (section < 0 || section >= menu_.sections.size()) return false;
    if (item < 0 || item >= menu_.sections[section].items.size()) return false;
    return !available_ || available_(menu_.sections[section].items[item].command);
}

void MenuPlayer::activate(int section, int item) {
    if (!isAvailable(section, item)) return;
    emit FSCommand(menu_.sections[section].items[item].command, QString());
}

void MenuPlayer::setStatus(const QString& countdown, const QString& today) {
    countdown_ = countdown;
    today_ = today;
    update();
}

// ------------------------------------------------------------------ painting

void MenuPlayer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double t = clock_.isValid() ? clock_.elapsed() / 1000.0 : 0.0;
    paintBackground(p, t);
    if (menu_.sections.isEmpty()) return;
    paintTitle(p, t);
    paintStatus(p);
    for (int s = 0; s < menu_.sections.size(); ++s)
        paintSection(p, s);
    if (!menu_.footer.isEmpty()) {
        p.setPen(QColor(255, 255, 255, 150));
        p.setFont(menuFont(height() * 0.018));
        p.drawText(QRectF(0, height() * 0.955, width() * 0.98, height() * 0.04),
                   Qt::AlignRight | Qt::AlignVCenter, menu_.footer);
    }
}

void MenuPlayer::paintBackground(QPainter& p, double t) {
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, menu_.backgroundTop.isValid() ? menu_.backgroundTop : QColor(12, 52, 98));
    sky.setColorAt(
        1, menu_.backgroundBottom.isValid() ? menu_.backgroundBottom : QColor(30, 110, 170));
    p.fillRect(rect(), sky);
    // Soft lights drifting slowly: enough motion to feel alive, never distracting.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        const double phase = t * (0.05 + 0.013 * i) + i * 1.7;
        const QPointF centre(width() * (0.5 + 0.45 * std::sin(phase)),
                             height() * (0.5 + 0.4 * std::cos(phase * 1.3 + i)));
        const double radius = std::min(width(), height()) * (0.18 + 0.04 * (i % 3));
        QRadialGradient light(centre, radius);
        light.setColorAt(0, QColor(255, 255, 255, 26));
        light.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(light);
        p.drawEllipse(centre, radius, radius);
    }
    // A gentle wave along the bottom edge.
    QPainterPath wave;
    wave.moveTo(0, height());
    for (int x = 0; x <= width(); x += 8) {
        wave.lineTo(x, height() * 0.93 + std::sin(x / 90.0 + t * 0.8) * height() * 0.012);
    }
    wave.lineTo(width(), height());
    wave.closeSubpath();
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawPath(wave);
}

void MenuPlayer::paintTitle(QPainter& p, double t) {
    const QRectF titleRect(width() * 0.04, height() * 0.025, width() * 0.92, height() * 0.08);
    p.setFont(menuFont(height() * 0.055, true));
    // A light sheen passes across the title now and then.
    const double sweep = std::fmod(t * 0.12, 1.6) - 0.3;
    QLinearGradient sheen(titleRect.left(), 0, titleRect.right(), 0);
    sheen.setColorAt(0, Qt::white);
    sheen.setColorAt(std::clamp(sweep - 0.08, 0.0, 1.0), Qt::white);
    sheen.setColorAt(std::clamp(sweep, 0.0, 1.0), QColor(255, 236, 160));
    sheen.setColorAt(std::clamp(sweep + 0.08, 0.0, 1.0), Qt::white);
    sheen.setColorAt(1, Qt::white);
    p.setPen(QColor(0, 0, 0, 70));
    p.drawText(titleRect.translated(2, 2), Qt::AlignLeft | Qt::AlignVCenter, menu_.title);
    p.setPen(QPen(QBrush(sheen), 1));
    p.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, menu_.title);
    p.setFont(menuFont(height() * 0.024));
    p.setPen(QColor(220, 235, 250));
    p.drawText(QRectF(width() * 0.045, height() * 0.1, width() * 0.9, height() * 0.04),
               Qt::AlignLeft | Qt::AlignVCenter, menu_.subtitle);
}

void MenuPlayer::paintStatus(QPainter& p) {
    if (countdown_.isEmpty() && today_.isEmpty()) return;
    // Beside the title, right-aligned, in the room the title leaves on its row: the
    // subtitle keeps the row below, so neither is ever covered.
    const double titleEnd =
        width() * 0.04 +
        QFontMetricsF(menuFont(height() * 0.055, true)).horizontalAdvance(menu_.title);
    const double left = std::max(titleEnd + width() * 0.02, width() * 0.45);
    const QRectF band(left, height() * 0.022, width() * 0.96 - left, height() * 0.078);
    const double first = band.height() * 0.56;
    p.setPen(QColor(255, 226, 140));
    p.setFont(fittedFont(countdown_, first * 0.78, band.width(), true));
    p.drawText(QRectF(band.left(), band.top(), band.width(), first),
               Qt::AlignRight | Qt::AlignVCenter, countdown_);
    p.setPen(QColor(220, 235, 250));
    p.setFont(fittedFont(today_, (band.height() - first) * 0.8, band.width(), false));
    p.drawText(QRectF(band.left(), band.top() + first, band.width(), band.height() - first),
               Qt::AlignRight | Qt::AlignVCenter, today_);
}

void MenuPlayer::paintSection(QPainter& p, int section) {
    const MenuSection& s = menu_.sections[section];
    const QRectF area = sectionRect(section);
    p.setPen(QColor(255, 255, 255, 60));
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawRoundedRect(area, 10, 10);
    const double header = std::max(26.0, height() * 0.045);
    p.setBrush(s.accent);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(area.left() + 10, area.top() + header * 0.28, 5, header * 0.5), 2, 2);
    p.setPen(Qt::white);
    p.setFont(menuFont(header * 0.52, true));
    p.drawText(QRectF(area.left() + 22, area.top(), area.width() - 24, header),
               Qt::AlignLeft | Qt::AlignVCenter, s.caption);
    for (int i = 0; i < s.items.size(); ++i)
        paintItem(p, section, i, itemRect(section, i));
}

void MenuPlayer::paintItem(QPainter& p, int section, int item, const QRectF& base) {
    const MenuItem& it = menu_.sections[section].items[item];
    // An item whose window is not there yet is drawn grey and does not react.
    const bool live = isAvailable(section, item);
    const QColor accent = live ? accent : QColor(165, 170, 176);
    const double glow = live ? hoverLevel({section, item}) : 0.0;
    const bool down = live && pressed_ == Hit{section, item} && hover_ == Hit{section, item};
    // Hovered tiles lift a little; a pressed tile sinks back.
    const double lift = down ? -1.0 : 3.0 * glow;
    QRectF r = base.adjusted(-glow * 2, -glow * 2, glow * 2, glow * 2).translated(0, -lift);
    const double radius = std::min(10.0, r.height() / 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, static_cast<int>(35 + 40 * glow)));
    p.drawRoundedRect(r.translated(0, 3 + lift), radius, radius);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    const QColor top = down ? accent.darker(115)
                            : (live ? QColor(255, 255, 255, 240) : QColor(214, 218, 222, 225));
    const QColor bottom = down ? accent.darker(130)
                               : (live ? QColor(232, 242, 252, 240) : QColor(196, 200, 205, 225));
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setBrush(fill);
    p.setPen(QPen(glow > 0.05 ? accent : QColor(255, 255, 255, 120), 1 + glow));
    p.drawRoundedRect(r, radius, radius);
    // The accent bar on the left widens under the mouse.
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    const double bar = 4 + 4 * glow;
    QPainterPath barPath;
    barPath.addRoundedRect(QRectF(r.left(), r.top(), bar + radius, r.height()), radius, radius);
    QPainterPath clip;
    clip.addRect(QRectF(r.left(), r.top(), bar, r.height()));
    p.drawPath(barPath.intersected(clip));

    const QColor text = !live        ? QColor(128, 132, 138)
                        : down       ? Qt::white
                        : glow > 0.5 ? accent.darker(140)
                                     : QColor(20, 40, 70);
    const QString detail = live ? it.detail : QStringLiteral("暂未提供");
    const bool twoLines = !detail.isEmpty() && r.height() > 34;
    const QRectF textRect = r.adjusted(bar + 10, 2, -8, -2);
    p.setPen(text);
    p.setFont(fittedFont(it.caption, std::min(r.height() * (twoLines ? 0.34 : 0.42), 22.0),
                         textRect.width(), true));
    if (twoLines) {
        p.drawText(
            QRectF(textRect.left(), textRect.top(), textRect.width(), textRect.height() * 0.58),
            Qt::AlignLeft | Qt::AlignBottom, it.caption);
        p.setFont(fittedFont(detail, std::min(r.height() * 0.24, 15.0), textRect.width(), false));
        p.setPen(down ? QColor(235, 245, 255) : live ? QColor(80, 100, 125) : text);
        p.drawText(QRectF(textRect.left(), textRect.top() + textRect.height() * 0.6,
                          textRect.width(), textRect.height() * 0.4),
                   Qt::AlignLeft | Qt::AlignTop, detail);
    } else {
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, it.caption);
    }
}

// ------------------------------------------------------------------ input

void MenuPlayer::mouseMoveEvent(QMouseEvent* event) {
    const Hit h = hitAt(event->position());
    if (!(h == hover_)) {
        hover_ = h;
        setCursor(h.valid() && isAvailable(h.section, h.item) ? Qt::PointingHandCursor
                                                              : Qt::ArrowCursor);
        update();
    }
}

void MenuPlayer::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = hitAt(event->position());
    hover_ = pressed_;
    if (pressed_.valid()) focus_ = pressed_;
    update();
}

void MenuPlayer::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const Hit released = hitAt(event->position());
    const Hit was = pressed_;
    pressed_ = Hit{};
    update();
    // Only a press and release on the same item picks it, as with any button.
    if (was.valid() && released == was) activate(was.section, was.item);
}

void MenuPlayer::leaveEvent(QEvent*) {
    hover_ = Hit{};
    update();
}

void MenuPlayer::moveFocus(int step) {
    QVector<Hit> order;
    for (int s = 0; s < menu_.sections.size(); ++s) {
        for (int i = 0; i < menu_.sections[s].items.size(); ++i)
            order << Hit{s, i};
    }
    if (order.isEmpty()) return;
    const auto at = order.indexOf(focus_);
    const qsizetype next = at < 0 ? 0 : (at + step + order.size()) % order.size();
    focus_ = order[next];
    update();
}

void MenuPlayer::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down:
        case Qt::Key_Tab:
            moveFocus(1);
            return;
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Backtab:
            moveFocus(-1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (focus_.valid()) activate(focus_.section, focus_.item);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

bool MenuPlayer::focusNextPrevChild(bool) {
    return false;
}

void MenuPlayer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

}  // namespace app
