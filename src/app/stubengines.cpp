#include "stubengines.h"

#include "messageboxes.h"

void UnavailableEncoder::startEncoder(const intputrec &request)
{
    m_boxes.error(QStringLiteral("Cannot start the encoder \"%1\".").arg(request.encoderPath));
}
