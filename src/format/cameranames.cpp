#include "cameranames.h"

#include "moddefaultvariablesetup.h"

namespace kestrelcam {

namespace {

template <std::size_t N>
std::optional<int> findName(const std::array<const char *, N> &names, const QString &word)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (word.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return std::nullopt;
}

} // namespace

std::optional<int> cameraFromArgument(const QString &word)
{
    if (word.size() == 1 && word[0] >= QLatin1Char('0') && word[0] < QLatin1Char('0' + CameraCount))
        return word[0].unicode() - '0';
    return findName(CameraArgumentNames, word);
}

std::vector<int> camerasFromArgument(const QString &word)
{
    if (word.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0 || word == QLatin1String("*"))
        return {0, 1, 2, 3, 4, 5};
    if (const std::optional<int> camera = cameraFromArgument(word))
        return {*camera};
    return {};
}

std::optional<int> fieldFromArgument(const QString &word)
{
    return findName(FieldArgumentNames, word);
}

std::optional<int> makeFromArgument(const QString &word, const DefaultTable &defaults)
{
    for (int carType = 0; carType < CarTypeCount; ++carType) {
        if (word.compare(defaults.MakeName(carType), Qt::CaseInsensitive) == 0)
            return carType;
    }
    return std::nullopt;
}

QString valueName(int camera, int field)
{
    return QLatin1String(CameraArgumentNames[camera]) + QLatin1Char('.') +
           QLatin1String(FieldArgumentNames[field]);
}

} // namespace kestrelcam
