#include "platform/qtuiposter.h"

#include <QMetaObject>
#include <QObject>

#include <utility>

UiPoster::~UiPoster() = default;

QtUiPoster::QtUiPoster(QObject *context) : m_context(context) {}

void QtUiPoster::post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(m_context, std::move(fn), Qt::QueuedConnection);
}
