#pragma once
// Button: a push button that draws its whole face itself, in one of twelve shapes, eight styles
// and eight background fills, and stores its settings in a window design through a PropertyBag.
//
// Every property setter stores the value, reports it through propertyChanged (the container
// marks its design dirty), applies the colour presets of ButtonStyle and ButtonTheme, and
// repaints at once. Enabled and Font are the widget's own state: a change through any path
// (QWidget::setEnabled or setFont, a parent that is disabled or changes its font) is reported
// and painted when the widget is told of it (changeEvent). Colours are OLE colours: 0x00BBGGRR,
// or 0x800000nn for system colour nn.
// The stored properties are one ButtonProperties value; one table of keys and members
// (internal/PropertyTable.h) drives initialising, reading, writing and the setters' reports.
//
// Unlike QPushButton, Click fires when a mouse button (other than the right one) goes down, and
// when Enter is released while the button looks pressed. Events are signals named after the
// control's events and are emitted synchronously; a handler may delete the button.
#include "ButtonProperties.h"

#include <QFont>
#include <QImage>
#include <QMimeData>
#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class FaceRenderer;
class PropertyBag;

class Button : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(Shape ButtonShape READ ButtonShape WRITE setButtonShape)
    Q_PROPERTY(qint32 ButtonStyle READ ButtonStyle WRITE setButtonStyle)
    Q_PROPERTY(qint32 ButtonStyleColors READ ButtonStyleColors WRITE setButtonStyleColors)
    Q_PROPERTY(Theme ButtonTheme READ ButtonTheme WRITE setButtonTheme)
    Q_PROPERTY(Type ButtonType READ ButtonType WRITE setButtonType)
    Q_PROPERTY(qint32 CaptionAlignment READ CaptionAlignment WRITE setCaptionAlignment)
    Q_PROPERTY(qint32 CaptionEffect READ CaptionEffect WRITE setCaptionEffect)
    Q_PROPERTY(qint32 CaptionStyle READ CaptionStyle WRITE setCaptionStyle)
    Q_PROPERTY(qint32 DropDown READ DropDown WRITE setDropDown)
    Q_PROPERTY(qint32 PictureAlignment READ PictureAlignment WRITE setPictureAlignment)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 BackColorPressed READ BackColorPressed WRITE setBackColorPressed)
    Q_PROPERTY(quint32 BackColorHover READ BackColorHover WRITE setBackColorHover)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(quint32 BorderColorPressed READ BorderColorPressed WRITE setBorderColorPressed)
    Q_PROPERTY(quint32 BorderColorHover READ BorderColorHover WRITE setBorderColorHover)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 ForeColorPressed READ ForeColorPressed WRITE setForeColorPressed)
    Q_PROPERTY(quint32 ForeColorHover READ ForeColorHover WRITE setForeColorHover)
    Q_PROPERTY(quint32 EffectColor READ EffectColor WRITE setEffectColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool FocusRect READ FocusRect WRITE setFocusRect)
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(bool HandPointer READ HandPointer WRITE setHandPointer)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(bool PictureGray READ PictureGray WRITE setPictureGray)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    Q_PROPERTY(qint32 MousePointer READ MousePointer WRITE writeMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(bool UserMode READ UserMode WRITE setUserMode)

public:
    // Enumerations are 32-bit and unchecked: a value outside the list is stored as given and
    // matches none of the cases that use it.
    enum Shape : qint32 {
        Rectangle, RoundedRectangle, Ellipse, Diamond, TriangleUp, TriangleLeft,
        TriangleRight, TriangleDown, ArrowUp, ArrowLeft, ArrowRight, ArrowDown
    };
    Q_ENUM(Shape)
    enum Theme : qint32 { None, Blue, Olive, Silver, Sand, Gold, Red, Green, Navy };
    Q_ENUM(Theme)
    enum Type : qint32 { Push, Toggle };
    Q_ENUM(Type)

    // Colour values used as defaults.
    static constexpr quint32 kButtonFace = ButtonProperties::kButtonFace;
    static constexpr quint32 kDesktop = ButtonProperties::kDesktop;
    // Size given to a new instance, in twips.
    static constexpr int kNewWidthTwips = 1200;
    static constexpr int kNewHeightTwips = 500;

    /// Mouse button numbers as the events report them (left 1, right 2, middle 4).
    static constexpr int kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;
    /// Shift-state bits as the events report them.
    static constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;
    /// Key codes the button reacts to.
    static constexpr int kKeyEnter = 13, kKeySpace = 32;

    /// Records kept by painting between paints (the caption's and the picture's placement).
    using CaptionRect = ::CaptionRect;
    using PictureRect = ::PictureRect;

    /// A button with the defaults of a new instance, not yet painted; the container then calls
    /// initNew() or readProperties().
    explicit Button(QWidget* parent = nullptr);
    ~Button() override;

    // Life cycle, called by the container.
    /// Initialises a new instance (placed on a design surface): size, defaults, caption, Tahoma.
    void initNew();
    /// Restores stored settings; presets are not applied and nothing is reported (Font and
    /// MouseIcon excepted, which go through their setters). A key that is absent reads as its
    /// default. A stored value that cannot be used (not of the property's kind, or a MousePointer
    /// beyond 16 bits) is refused: the property takes its default, and one warning names the key
    /// (category "tarnwick.button").
    void readProperties(const PropertyBag& bag);
    /// Stores every setting that differs from its default. Enabled is the button's own setting: a
    /// disabled parent does not make it false in the design.
    void writeProperties(PropertyBag& bag) const;
    /// The container's display name for this instance (the default caption of a new one).
    QString ambientDisplayName() const;
    /// The container's font (the parent's font, else the application's).
    QFont ambientFont() const;

    /// Repaints the face at once.
    void Refresh();
    /// Draws the whole face from the properties and the state flags into face(): first the steps
    /// that change the widget (size limits, border colours written back, hand cursor, toggle look),
    /// then the face itself, which it shows with the shape's region as the widget's mask.
    void PaintButton();
    /// Starts a drag from the button: OLEStartDrag, OLEGiveFeedback while it runs, OLECompleteDrag.
    void OLEDrag();

    // Properties.
    Shape ButtonShape() const { return Shape(props_.buttonShape); }
    void setButtonShape(Shape EBS);
    qint32 ButtonStyle() const { return props_.buttonStyle; }
    /// Also loads the style's colour preset (styles 1 to 8).
    void setButtonStyle(qint32 EBS);
    qint32 ButtonStyleColors() const { return props_.buttonStyleColors; }
    void setButtonStyleColors(qint32 EBSC);
    Theme ButtonTheme() const { return Theme(props_.buttonTheme); }
    /// Also loads the theme's six colours (themes 1 to 8).
    void setButtonTheme(Theme EBT);
    Type ButtonType() const { return Type(props_.buttonType); }
    void setButtonType(Type EBT);
    qint32 CaptionAlignment() const { return props_.captionAlignment; }
    void setCaptionAlignment(qint32 ECA);
    qint32 CaptionEffect() const { return props_.captionEffect; }
    void setCaptionEffect(qint32 ECE);
    qint32 CaptionStyle() const { return props_.captionStyle; }
    void setCaptionStyle(qint32 ECS);
    qint32 DropDown() const { return props_.dropDown; }
    void setDropDown(qint32 EDD);
    qint32 PictureAlignment() const { return props_.pictureAlignment; }
    void setPictureAlignment(qint32 EPA);

    quint32 BackColor() const { return props_.backColor; }
    void setBackColor(quint32 New_Color);
    quint32 BackColorPressed() const { return props_.backColorPressed; }
    void setBackColorPressed(quint32 New_Color);
    quint32 BackColorHover() const { return props_.backColorHover; }
    void setBackColorHover(quint32 New_Color);
    quint32 BorderColor() const { return props_.borderColor; }
    void setBorderColor(quint32 New_Color);
    quint32 BorderColorPressed() const { return props_.borderColorPressed; }
    void setBorderColorPressed(quint32 New_Color);
    quint32 BorderColorHover() const { return props_.borderColorHover; }
    void setBorderColorHover(quint32 New_Color);
    quint32 ForeColor() const { return props_.foreColor; }
    void setForeColor(quint32 New_Color);
    quint32 ForeColorPressed() const { return props_.foreColorPressed; }
    void setForeColorPressed(quint32 New_Color);
    quint32 ForeColorHover() const { return props_.foreColorHover; }
    void setForeColorHover(quint32 New_Color);
    quint32 EffectColor() const { return props_.effectColor; }
    void setEffectColor(quint32 New_Color);

    QString Caption() const { return props_.caption; }
    void setCaption(const QString& NewCaption);
    bool FocusRect() const { return props_.focusRect; }
    void setFocusRect(bool New_FocusRect);
    /// Toggle state; setting it repaints but does not click.
    bool Value() const { return props_.value; }
    void setValue(bool New_Value);
    bool HandPointer() const { return props_.handPointer; }
    void setHandPointer(bool New_HandPointer);
    QPixmap Picture() const { return props_.picture; }
    void setPicture(const QPixmap& New_Picture);
    bool PictureGray() const { return props_.pictureGray; }
    void setPictureGray(bool New_PictureGray);

    // Kept by the widget itself: enabled state, font and cursor. Enabled and Font are set with
    // QWidget::setEnabled and setFont.
    /// Whether the button is enabled; false too while a parent is disabled.
    bool Enabled() const { return isEnabled(); }
    QFont Font() const { return font(); }
    /// One of the classic pointer numbers (0 default, 1 arrow, ... 15 size-all, 99 MouseIcon).
    qint32 MousePointer() const { return mousePointer_; }
    /// Throws std::out_of_range, storing nothing, for values outside -32768..32767. Through the
    /// property system (setProperty) such a value is refused with a warning instead.
    void setMousePointer(qint32 New_MousePointer);
    QPixmap MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QPixmap& New_MouseIcon);

    /// True when hosted by the running program, false in a designer or the gallery (no hover
    /// tracking and no MouseMove there). Not stored; true by default.
    bool UserMode() const { return userMode_; }
    void setUserMode(bool userMode);

    // State read by painting and by tests.
    /// The button is drawn pressed.
    bool pressedFlag() const { return pressed_; }
    /// Whether the pointer was inside at the last mouse move; empty before the first one.
    std::optional<bool> mouseOverFlag() const { return mouseOver_; }
    /// The button holds the input focus.
    bool hasFocusFlag() const { return hasFocus_; }
    /// The finished face that paintEvent shows.
    const QImage& face() const { return face_; }
    /// Completed runs of PaintButton since construction.
    int paintCount() const { return paintCount_; }
    const CaptionRect& captionRect() const { return captionRect_; }
    const PictureRect& pictureRect() const { return pictureRect_; }
    /// The outline points of the current shape and of its focus mark.
    const std::array<QPoint, 7>& shapePoints() const { return shapePoints_; }
    const std::array<QPoint, 7>& focusMarkPoints() const { return focusMarkPoints_; }
    /// The region last given to the widget mask; empty when the shape sets none.
    const QRegion& shapeRegion() const { return shapeRegion_; }
    /// For tools and tests: sets the pressed, mouse-over and has-focus flags directly and repaints.
    void setStateFlags(bool pressed, std::optional<bool> mouseOver, bool hasFocus);
    /// All stored properties at once.
    const ButtonProperties& properties() const { return props_; }

signals:
    /// A stored property changed (the report to the container), under the property's name.
    void propertyChanged(const QString& name);

    // The control's events, in their declared order. Key codes are virtual-key numbers,
    // KeyAscii a character code, X and Y pixels in the button's own coordinates.
    void Click();
    void DblClick();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void OLECompleteDrag(int Effect);
    /// Data is valid only while the signal is being emitted.
    void OLEDragDrop(const QMimeData* Data, int Effect, int Button, int Shift, float X, float Y);
    /// State: 0 entering, 1 leaving, 2 moving over. Data is null when leaving.
    void OLEDragOver(const QMimeData* Data, int Effect, int Button, int Shift, float X, float Y, int State);
    void OLEGiveFeedback(int Effect, bool DefaultCursors);
    /// A drop target asked for a format not yet filled in; a handler may fill Data now.
    void OLESetData(QMimeData* Data, int DataFormat);
    /// A drag starts from the button; a handler fills Data.
    void OLEStartDrag(QMimeData* Data, int AllowedEffects);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class ButtonAccessible;

    /// Makes Button known to Qt's accessibility, once.
    static void installAccessibility();
    /// The accessible press action: the press path, then the release path.
    void accessiblePress();
    /// Tells assistive technology about a change of the pressed or checked state.
    void notifyAccessibleState();

    /// Stores value in the property held in Member, reports it under its key and repaints.
    template <auto Member, typename T>
    void store(const T& value);
    void report(const char* name);
    void applyStylePreset(qint32 style);
    void applyThemePreset(Theme theme);
    /// The MousePointer setter of the property system: refuses what setMousePointer throws for.
    void writeMousePointer(qint32 New_MousePointer);
    void storeMousePointer(qint16 pointer);
    void applyMousePointer();
    struct ScreenMetrics {
        double dpiX, dpiY, ratio;
    };
    /// Logical dots per inch and device pixels per logical pixel of the screen the button is on.
    ScreenMetrics screenMetrics() const;
    /// The steps of a paint that change the widget: size limits, hand cursor, toggle look, border
    /// colours written back.
    void prepareFace(const ScreenMetrics& metrics);
    /// Resizes the widget to the least size and the square shapes; true when it did.
    bool applySizeLimits(double dpiX, double dpiY);
    /// Sets the widget mask to region, only when it changed (an empty region clears it).
    void applyShapeRegion(const QRegion& region);

    /// fromWindowSystem: a real mouse press, whose button the application keeps track of.
    void pressPath(int button, int shift, float x, float y, bool fromWindowSystem = false);
    void releasePath(int button, int shift, float x, float y);
    /// Hover tracking: the pointer is now inside or not; returns false in design mode.
    bool trackHover(bool inside);
    /// Whether pos is inside the mask; held: a mouse button is held on the button.
    bool isInside(QPoint pos, bool held) const;

    ButtonProperties props_;
    qint16 mousePointer_ = 0;
    QPixmap mouseIcon_;
    bool userMode_ = true;

    bool pressed_ = false;
    std::optional<bool> mouseOver_;
    bool hasFocus_ = false;
    // The pressed and checked states assistive technology was last told about.
    bool accessiblePressed_ = false;
    bool accessibleChecked_ = false;
    // Set while the size limits resize the widget: the resize event must not start a second paint.
    bool resizing_ = false;

    QImage face_;
    int paintCount_ = 0;
    CaptionRect captionRect_;
    PictureRect pictureRect_;
    std::array<QPoint, 7> shapePoints_{};
    std::array<QPoint, 7> focusMarkPoints_{};
    QRegion shapeRegion_;
    // The background's BackStyle: transparent after ButtonStyleColors 0, kept for values outside 0..7.
    bool backStyleTransparent_ = false;
    // Draws the faces; kept between paints for what it caches.
    std::unique_ptr<FaceRenderer> renderer_;
};
