#include "controlclipboard.h"

#include "clipboardformat.h"
#include "codec.h"
#include "keylist.h"
#include "mainform.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <memory>

namespace wharf {
namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

TControlClipboard::TControlClipboard(Tfrm_Main &main, const Seams &seams) : m_main(main), m_seams(seams) {}

QString TControlClipboard::mimeType()
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"") + qs(kControlClipboardFormat) +
           QStringLiteral("\"");
}

bool TControlClipboard::MI_CopyClick()
{
    const long selected = m_main.selectedControl();
    if (selected < 0)
        return false;
    QByteArray bytes;
    try {
        bytes = QByteArray::fromStdString(
            encodeControlClipboard(m_main.document().control(static_cast<size_t>(selected)).keys));
    } catch (const std::runtime_error &e) { // ECodecError, EControlClipboardError
        showError(m_seams, &m_main,
                  QStringLiteral("Could not copy the control to the clipboard: ") + QString::fromUtf8(e.what()));
        return false;
    }
    auto data = std::make_unique<QMimeData>();
    data->setData(mimeType(), bytes);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data.release());
    // The clipboard may refuse the data (no display to hold it): the copy
    // only counts when the data can be read back.
    const QMimeData *now = clipboard->mimeData();
    if (!now || now->data(mimeType()) != bytes) {
        showError(m_seams, &m_main, QStringLiteral("Could not copy the control to the clipboard."));
        return false;
    }
    return true;
}

void TControlClipboard::MI_CutClick()
{
    if (MI_CopyClick())
        m_main.MI_DeleteClick();
}

bool TControlClipboard::canPaste() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(mimeType());
}

void TControlClipboard::MI_PasteClick()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(mimeType()))
        return;
    const QByteArray bytes = data->data(mimeType());
    std::optional<TStringList> keys = decodeControlClipboard(std::string_view(bytes.constData(), bytes.size()));
    if (!keys) {
        showError(m_seams, &m_main, qs(kMsgNotAControl));
        return;
    }
    TSurfaceModel &model = m_main.surfaceModel();
    std::vector<TRect> placed;
    for (size_t i = 0; i < m_main.document().controlCount(); ++i)
        placed.push_back(model.controlBounds(i));
    const TRect wanted{keyListInteger(*keys, "Left", 0), keyListInteger(*keys, "Top", 0),
                       std::clamp<int32_t>(keyListInteger(*keys, "Width", 0), kMinRenderSize, kMaxRenderSize),
                       std::clamp<int32_t>(keyListInteger(*keys, "Height", 0), kMinRenderSize, kMaxRenderSize)};
    const TRect place = pastePlace(wanted, model.surface(), placed);
    setKeyListValue(*keys, "Left", std::to_string(place.left));
    setKeyListValue(*keys, "Top", std::to_string(place.top));
    m_main.BuildControl(std::move(*keys));
    m_main.SetModified(true);
}

} // namespace wharf
