#pragma once

#include <QIconEngine>
#include <QString>

// An icon drawn from its SVG source at exactly the pixels asked for, device pixel ratio
// included, so it is sharp at 150 % and 200 % as at 100 %. Disabled icons are greyed.
class CSvgIconEngine : public QIconEngine {
public:
    explicit CSvgIconEngine(const QString& resource) : m_resource(resource) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override;
    QIconEngine* clone() const override { return new CSvgIconEngine(m_resource); }
    QString key() const override { return QStringLiteral("jotterly-svg"); }
    bool isNull() override { return m_resource.isEmpty(); }

private:
    // size in device-independent pixels.
    QPixmap Render(const QSize& size, QIcon::Mode mode, qreal scale) const;

    QString m_resource;
};
