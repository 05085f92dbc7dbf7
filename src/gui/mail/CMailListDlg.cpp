#include "gui/mail/CMailListDlg.h"

#include "gui/platform/CDialogOwner.h"
#include "gui/platform/QtDialogs.h"
#include "gui/platform/ResourceImages.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSizeGrip>
#include <QTableWidget>
#include <QUrl>

namespace {
constexpr int kMargin = 14;  // from the window's edge to the list
constexpr int kFrameOut = 6; // the rounded frame lies this far outside the list
constexpr int kStampSize = 32;
constexpr int kBandHeight = 46; // the text band above the list
} // namespace

CMailListDlg::CMailListDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_headline(new QLabel(this)), m_hint(new QLabel(this)), m_failures(new QLabel(this)),
      m_stamp(new QLabel(this)), m_list(new QTableWidget(0, 3, this)) {
    setObjectName(QStringLiteral("newMailWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("New mail"));
    setWindowIcon(ResourceImages::Icon(211));

    QFont bold = font();
    bold.setWeight(QFont::Bold);
    m_headline->setFont(bold);
    m_hint->setText(
        QStringLiteral("Double-Click on an item to receive. Click on the stamp to return"));
    m_failures->setWordWrap(true);
    // The report quotes servers: their words are shown, never taken for markup.
    m_headline->setTextFormat(Qt::PlainText);
    m_failures->setTextFormat(Qt::PlainText);
    m_failures->hide();
    m_stamp->setPixmap(ResourceImages::Icon(216).pixmap(QSize(kStampSize, kStampSize)));
    m_stamp->setFixedSize(kStampSize, kStampSize);
    m_stamp->setCursor(Qt::PointingHandCursor);
    m_stamp->setToolTip(QStringLiteral("Close"));
    m_stamp->installEventFilter(this);

    m_list->setHorizontalHeaderLabels(
        {QStringLiteral("Account"), QStringLiteral("From"), QStringLiteral("Subject")});
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->verticalHeader()->hide();
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setToolTip(QStringLiteral("Double click to run default mail program"));
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { OpenRow(row); });

    auto* grip = new QSizeGrip(this);
    grip->setObjectName(QStringLiteral("sizeGrip"));
    resize(520, 240);
}

void CMailListDlg::SetContent(const std::string& headline, const std::vector<MailRow>& rows,
                              const std::vector<std::string>& report) {
    m_rows = rows;
    m_headline->setText(QString::fromStdString(headline));
    QStringList lines;
    for (const auto& line : report)
        lines << QString::fromStdString(line);
    m_failures->setText(lines.join(QLatin1Char('\n')));
    m_failures->setVisible(!report.empty());
    m_list->clearContents();
    m_list->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const MailRow& row = rows[static_cast<std::size_t>(r)];
        // The fields keep the blank that follows the colon of their header line.
        const auto cell = [](const std::string& text) {
            return new QTableWidgetItem(QString::fromUtf8(text.c_str()).trimmed());
        };
        m_list->setItem(r, 0, cell(row.accountName));
        m_list->setItem(r, 1, cell(row.from));
        m_list->setItem(r, 2, cell(row.subject));
    }
    Arrange();
}

void CMailListDlg::OpenRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    // Web mail accounts never produce rows: only POP3 rows come here.
    if (QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:")))) {
        close();
        return;
    }
    // Owned by this window: a box of its own would open underneath it (it stays on top).
    const CDialogOwner::Scope owner(this);
    QtDialogs dialogs;
    dialogs.MessageBox("No mail program could be started: the desktop has no program set up for "
                       "e-mail (\"mailto:\" links).",
                       "Sorry", IDialogs::Ok, IDialogs::Stop);
}

void CMailListDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_sized) return;
    m_sized = true;
    // It cannot be made smaller than it first appears, and it appears in the screen's middle.
    setMinimumSize(size());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void CMailListDlg::Arrange() {
    // isHidden(), not isVisible(): the content is laid out before the window is first shown.
    const int failureHeight =
        m_failures->isHidden() ? 0 : m_failures->heightForWidth(width() - 2 * kMargin) + 4;
    const int top = kMargin + kBandHeight + failureHeight;
    const QRect list(kMargin, top, width() - 2 * kMargin,
                     std::max(40, height() - top - kMargin - 8));
    m_list->setGeometry(list);
    m_headline->setGeometry(kMargin, kMargin - 4, list.width() - kStampSize - 6, 20);
    m_hint->setGeometry(kMargin, kMargin + 18, list.width() - kStampSize - 6, 18);
    if (failureHeight) m_failures->setGeometry(kMargin, kMargin + 40, list.width(), failureHeight);
    // The stamp's right edge is the list's, in the middle of the band, 2 pixels up.
    m_stamp->move(list.right() + 1 - kStampSize,
                  (kMargin - kFrameOut + top - kFrameOut) / 2 - kStampSize / 2 - 2);
    if (auto* grip = findChild<QSizeGrip*>(QStringLiteral("sizeGrip")))
        grip->setGeometry(width() - 14, height() - 14, 14, 14);

    update();
}

void CMailListDlg::FitColumns() {
    const int c = m_list->viewport()->width() / 3;
    m_list->setColumnWidth(0, 2 * c / 3);
    m_list->setColumnWidth(1, c);
    m_list->setColumnWidth(2, 4 * c / 3);
}

void CMailListDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Arrange();
}

void CMailListDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Window));
    p.setPen(QPen(pal.color(QPalette::Mid), 1));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF frame =
        QRectF(m_list->geometry()).adjusted(-kFrameOut, -kFrameOut, kFrameOut, kFrameOut);
    p.setBrush(pal.color(QPalette::Button));
    p.setPen(QPen(pal.color(QPalette::Dark), 1));
    p.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

void CMailListDlg::mousePressEvent(QMouseEvent* event) {
    // The band above the list, left of the stamp, serves as the caption.
    const QRect band(0, 0, m_stamp->x(), m_list->y() - kFrameOut);
    if (event->button() == Qt::LeftButton && band.contains(event->position().toPoint())) {
        m_drag.PressCaption(event->globalPosition().toPoint());
        return;
    }
    QDialog::mousePressEvent(event);
}

void CMailListDlg::mouseMoveEvent(QMouseEvent* event) {
    if (!m_drag.IsIdle()) m_drag.Follow(event->globalPosition().toPoint());
    QDialog::mouseMoveEvent(event);
}

void CMailListDlg::mouseReleaseEvent(QMouseEvent* event) {
    m_drag.Release();
    QDialog::mouseReleaseEvent(event);
}

bool CMailListDlg::eventFilter(QObject* watched, QEvent* event) {
    // The list's inner width is known only once the list itself has taken its new size.
    if (watched == m_list->viewport() && event->type() == QEvent::Resize) FitColumns();
    if (watched == m_stamp && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
