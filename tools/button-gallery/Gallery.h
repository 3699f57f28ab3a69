#pragma once
// The button gallery: renders buttons off-screen to images, one in a chosen state or a contact
// sheet of every shape, style and state. Buttons are in design mode (no hover tracking); their
// state flags are set directly.
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

class Button;

namespace gallery {

/// The looks a button is rendered in.
enum class State { Normal, Hover, Pressed, Focus, Disabled, Toggled };

/// The state named on the command line ("normal", "hover", ...), or nullopt.
std::optional<State> parseState(const QString& name);
/// The command-line name of a state.
QString stateName(State state);

/// One button to render: shape and style first, then the property settings in order.
struct Request {
    int shape = 0;
    int style = 1;
    QSize size{73, 25};
    State state = State::Normal;
    std::vector<std::pair<QString, QString>> settings; ///< property name, value text
};

/// Sets a Button property by name from text: numbers in decimal or 0x hex (colours 0x00BBGGRR),
/// true/false/-1/0 for flags, enum keys or numbers, "Family,points[,bold]" for Font, a file for
/// Picture; an empty text is allowed. Returns an error message, empty on success.
QString setProperty(Button& button, const QString& name, const QString& text);

/// Puts the state's flags and properties on a design-mode button and repaints it.
void applyState(Button& button, State state);

/// Renders one button; the image shows exactly what the screen would (transparent outside the
/// window region and where the background is transparent). error receives the reason on failure.
QImage render(const Request& request, QString* error);

/// A labelled sheet of every shape × style × state.
QImage contactSheet();

/// The name of the manifest file a batch writes beside its pictures.
inline constexpr const char* kManifestName = "manifest.sha256";

/// Renders the fixed set of faces that guards the painting against change into folder, one PNG
/// each: every shape × style 0..8 × state at 73 × 25, 30 × 30 and 31 × 31, variants of the other
/// looks (fills, caption effects and gradients, alignments, picture, drop-down, themes) and the
/// contact sheet; then writes kManifestName there, one "sha256  file" line per PNG in sha256sum's
/// format. Returns an error message, empty on success.
QString renderBatch(const QString& folder);

/// Compares the manifest a batch wrote with an expected one; the differences as readable lines
/// (changed, missing or unexpected files), empty when they agree.
QStringList compareManifests(const QString& expectedFile, const QString& actualFile);

} // namespace gallery
