// The main menu: plays a menu description (pic/main.menu, JSON of ours) full
// screen and sends the command text of the item the user picks.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QRectF>
#include <QString>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <functional>

namespace app {

struct MenuItem {
    QString caption;
    QString detail;   // a second, smaller line
    QString command;  // sent as is
    QColor accent;
};

struct MenuSection {
    QString caption;
    QRectF area;  // fractions of the window: x, y, width, height
    int columns = 1;
    QColor accent;
    QVector<MenuItem> items;
};

struct MenuDescription {
    QString title;
    QString subtitle;
    QString footer;
    QColor backgroundTop;
    QColor backgroundBottom;
    QVector<MenuSection> sections;
};

// Reads a menu description; false with a reason when the file is missing or wrong.
bool LoadMenuDescription(const QString& file, MenuDescription* menu, QString* error);

class MenuPlayer : public QWidget {
    Q_OBJECT
  public:
    explicit MenuPlayer(QWidget* parent = nullptr);

    // Loads the menu and starts playing it; false when it cannot be played.
    bool setMovie(const QString& file);
    const MenuDescription& menu() const { return menu_; }
    // Where an item is drawn now, in widget coordinates (for tests and hit testing).
    QRectF itemRect(int section, int item) const;
    // Sends an item's command as if it had been clicked; an unavailable item sends nothing.
    void activate(int section, int item);
    // Which commands can run now; the others are drawn grey and do nothing. Without
    // it every item is available.
    void setAvailability(std::function<bool(const QString& command)> available);
    bool isAvailable(int section, int item) const;
    // Two lines drawn beside the title, right-aligned: the exam countdown and today's
    // progress. Empty lines are not drawn.
    void setStatus(const QString& countdown, const QString& today);
    QString countdownLine() const { return countdown_; }
    QString todayLine() const { return today_; }

  signals:
    // The text of the picked item's command, and its arguments (always empty).
    void FSCommand(const QString& command, const QString& args);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    struct Hit {
        int section = -1;
        int item = -1;
        bool operator==(const Hit& o) const { return section == o.section && item == o.item; }
        bool valid() const { return section >= 0; }
    };
    Hit hitAt(const QPointF& pos) const;
    QRectF sectionRect(int section) const;
    void paintBackground(QPainter& p, double t);
    void paintTitle(QPainter& p, double t);
    void paintStatus(QPainter& p);
    void paintSection(QPainter& p, int section);
    void paintItem(QPainter& p, int section, int item, const QRectF& r);
    void moveFocus(int step);
    double hoverLevel(const Hit& h) const;

    MenuDescription menu_;
    QTimer frame_;
    QElapsedTimer clock_;
    Hit hover_;
    Hit pressed_;
    Hit focus_;
    QVector<QVector<double>> glow_;
    std::function<bool(const QString&)> available_;  // per item, eases towards 1 under the mouse
    QString countdown_;
    QString today_;
};

}  // namespace app
