#include "app/toolkit/DialogLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

std::optional<ControlKind> KindFromName(const QString& name)
{
    static const std::pair<const char*, ControlKind> kinds[] = {
        {"button", ControlKind::PushButton},    {"radio", ControlKind::RadioButton}, {"edit", ControlKind::Edit},
        {"droplist", ControlKind::DropList},    {"group", ControlKind::GroupBox},    {"label", ControlKind::Label},
        {"progress", ControlKind::ProgressBar}, {"listbox", ControlKind::ListBox},   {"check", ControlKind::CheckBox},
    };
    for (const auto& [text, kind] : kinds) {
        if (name == QLatin1String(text)) {
            return kind;
        }
    }
    return std::nullopt;
}

std::optional<QRect> RectFrom(const QJsonValue& value)
{
    const QJsonArray a = value.toArray();
    if (a.size() != 4) {
        return std::nullopt;
    }
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

int Scale(int units, int pixelsPerBase, int unitsPerBase)
{
    return static_cast<int>(std::lround(static_cast<double>(units) * pixelsPerBase / unitsPerBase));
}

}  // namespace

const ControlLayout* DialogLayout::Find(int controlId) const
{
    for (const ControlLayout& c : controls) {
        if (c.id == controlId && controlId != -1) {
            return &c;
        }
    }
    return nullptr;
}

std::optional<DialogLayout> ParseDialogLayout(const QByteArray& json)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    DialogLayout layout;
    layout.id = root.value("id").toInt();
    layout.caption = root.value("caption").toString();
    const QJsonArray size = root.value("size").toArray();
    if (size.size() != 2) {
        return std::nullopt;
    }
    layout.size = QSize(size[0].toInt(), size[1].toInt());
    const QJsonObject font = root.value("font").toObject();
    layout.fontFace = font.value("face").toString();
    layout.fontPoints = font.value("points").toInt(8);
    layout.applicationWindow = root.value("appWindow").toBool(false);

    for (const QJsonValue& v : root.value("controls").toArray()) {
        const QJsonObject o = v.toObject();
        ControlLayout c;
        const auto kind = KindFromName(o.value("kind").toString());
        const auto rect = RectFrom(o.value("rect"));
        if (!kind || !rect) {
            return std::nullopt;
        }
        c.kind = *kind;
        c.rect = *rect;
        c.id = o.value("id").toInt(-1);
        c.text = o.value("text").toString();
        c.tabStop = o.value("tabStop").toBool(false);
        c.defaultButton = o.value("default").toBool(false);
        c.groupStart = o.value("groupStart").toBool(false);
        c.readOnly = o.value("readOnly").toBool(false);
        c.border = o.value("border").toBool(true);
        c.centred = o.value("centred").toBool(false);
        c.sorted = o.value("sorted").toBool(false);
        c.accessibleName = o.value("accessibleName").toString();
        for (const QJsonValue& item : o.value("items").toArray()) {
            c.items.append(item.toString());
        }
        layout.controls.push_back(std::move(c));
    }
    return layout;
}

std::optional<DialogLayout> LoadDialogLayout(int id)
{
    QFile file(QStringLiteral(":/layouts/%1.json").arg(id));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    auto layout = ParseDialogLayout(file.readAll());
    if (layout && layout->id != id) {
        return std::nullopt;
    }
    return layout;
}

QRect DialogUnitsToPixels(const QRect& units, DialogBaseUnits base)
{
    const int left = Scale(units.x(), base.charWidth, 4);
    const int top = Scale(units.y(), base.charHeight, 8);
    const int right = Scale(units.x() + units.width(), base.charWidth, 4);
    const int bottom = Scale(units.y() + units.height(), base.charHeight, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize DialogUnitsToPixels(const QSize& units, DialogBaseUnits base)
{
    return QSize(Scale(units.width(), base.charWidth, 4), Scale(units.height(), base.charHeight, 8));
}
