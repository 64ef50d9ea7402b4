#include "app/launchmessage.h"

#include <QStringDecoder>

#include <algorithm>

namespace heliora {

namespace {

    constexpr QByteArrayView magic { "heliora-launch/1\0", 17 };
    constexpr char argumentField = 'a';
    constexpr char tokenField = 't';

    bool isTokenByte(char c) { return c > ' ' && c < 0x7f; }

    bool isValidToken(QByteArrayView token)
    {
        return !token.isEmpty() && token.size() <= maxStartupTokenBytes
            && std::all_of(token.begin(), token.end(), isTokenByte);
    }

    // Strict UTF-8: a sender encodes QStrings, so anything else did not come from heliora.
    bool decodeUtf8(QByteArrayView bytes, QString* text)
    {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        *text = decoder.decode(bytes);
        return !decoder.hasError();
    }

} // namespace

QByteArray encodeLaunchMessage(const LaunchRequest& request)
{
    if (!request.startupToken.isEmpty() && !isValidToken(request.startupToken))
        return {};
    QByteArray message = magic.toByteArray();
    if (!request.startupToken.isEmpty())
        message += tokenField + request.startupToken + '\0';
    for (const QString& argument : request.arguments) {
        message += argumentField;
        message += argument.toUtf8();
        message += '\0';
        if (message.size() >= maxLaunchMessageBytes)
            return {};
    }
    message += '\0';
    // A QString may hold U+0000, which would end its field early and change the message's meaning.
    if (message.size() > maxLaunchMessageBytes || decodeLaunchMessage(message).request != request)
        return {};
    return message;
}

DecodedLaunch decodeLaunchMessage(QByteArrayView bytes)
{
    DecodedLaunch result;
    const auto malformed = [] { return DecodedLaunch { LaunchMessageState::malformed, {} }; };
    const auto incomplete = [] { return DecodedLaunch { LaunchMessageState::incomplete, {} }; };
    if (bytes.size() > maxLaunchMessageBytes)
        return malformed();
    if (bytes.size() < magic.size())
        return magic.startsWith(bytes) ? incomplete() : malformed();
    if (!bytes.startsWith(magic))
        return malformed();

    qsizetype at = magic.size();
    while (at < bytes.size()) {
        const qsizetype end = bytes.indexOf('\0', at);
        if (end < 0) {
            // A field still arriving: only its kind can be judged yet.
            const char kind = bytes[at];
            return kind == argumentField || kind == tokenField ? incomplete() : malformed();
        }
        const QByteArrayView field = bytes.sliced(at, end - at);
        at = end + 1;
        if (field.isEmpty()) {
            if (at != bytes.size())
                return malformed();
            result.state = LaunchMessageState::complete;
            return result;
        }
        const QByteArrayView value = field.sliced(1);
        if (field[0] == argumentField) {
            QString argument;
            if (!decodeUtf8(value, &argument))
                return malformed();
            result.request.arguments.append(argument);
        } else if (field[0] == tokenField) {
            if (!result.request.startupToken.isEmpty() || !isValidToken(value))
                return malformed();
            result.request.startupToken = value.toByteArray();
        } else {
            return malformed();
        }
    }
    // Every field so far is whole; the end has not come yet.
    return incomplete();
}

} // namespace heliora
