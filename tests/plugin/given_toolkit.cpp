// The host toolkit as the box's documentation gives it to the plug-in,
// member by member, transcribed from that documentation and not from our
// headers in host/. Compiled, its definitions are the mangled names the
// plug-in may import (check_shared_object.sh); anything else the plug-in
// asked the host for would be a symbol the box's application may not have.
//
// Mangled names carry a member's class, name and parameter types, not its
// return type, access, base classes or virtualness: so each class stands
// alone here, and every member is a bare definition kept in the object file.
//
// The documentation names the widget's virtual operations but leaves their
// parameter types open; the types below are the ones doc/host.md records.

#define GIVEN __attribute__((used))

class eString;
class eWidget;
class eLabel;
struct ePoint;
struct eSize;
class eRect;
struct eWidgetEvent;
class ePainter;
template <class T>
class eListBox;
class eListBoxEntryText;

class eString {
public:
    GIVEN eString(const char*) { }
    GIVEN void left(unsigned int) { }
    GIVEN void mid(unsigned int, unsigned int) { }
    GIVEN void right(unsigned int) { }
    GIVEN void upper() { }
    GIVEN void strReplace(const char*, const eString&) { }
    GIVEN void sprintf(char*, ...) { }
};

class eWidget {
public:
    GIVEN ~eWidget() { }
    GIVEN void show() { }
    GIVEN void hide() { }
    GIVEN void exec() { }
    GIVEN void reject() { }
    GIVEN void move(const ePoint&) { }
    GIVEN void resize(const eSize&) { }
    GIVEN void cmove(const ePoint&) { }
    GIVEN void cresize(const eSize&) { }
    GIVEN void setText(const eString&) { }
    GIVEN void setFocus(eWidget*) { }
    GIVEN void setShortcut(const eString&) { }
    // The virtual operations, in their table order.
    GIVEN void willShow() { }
    GIVEN void willHide() { }
    GIVEN void setPalette() { }
    GIVEN void eventFilter(const eWidgetEvent&) { }
    GIVEN void keyDown(int) { }
    GIVEN void keyUp(int) { }
    GIVEN void gotFocus() { }
    GIVEN void lostFocus() { }
    GIVEN void recalcClientRect() { }
    GIVEN void eventHandler(const eWidgetEvent&) { }
    GIVEN void redrawWidget(ePainter*, const eRect&) { }
    GIVEN void eraseBackground(ePainter*, const eRect&) { }
    GIVEN void setProperty(const eString&, const eString&) { }
};

class eWindow {
public:
    GIVEN eWindow(int) { }
    GIVEN ~eWindow() { }
    // The virtual operations the window supplies anew.
    GIVEN void willShow() { }
    GIVEN void willHide() { }
    GIVEN void recalcClientRect() { }
    GIVEN void eventHandler(const eWidgetEvent&) { }
    GIVEN void redrawWidget(ePainter*, const eRect&) { }
    GIVEN void eraseBackground(ePainter*, const eRect&) { }
};

class eDecoWidget {
public:
    GIVEN void loadDeco() { }
};

class eLabel {
public:
    GIVEN eLabel(eWidget*, int, int, const char*) { }
    GIVEN void setShortcutPixmap(const eString&) { }
};

class eButton {
public:
    GIVEN eButton(eWidget*, eLabel*, int, const char*) { }
};

class eProgress {
public:
    GIVEN eProgress(eWidget*, int) { }
    GIVEN void setPerc(int) { }
};

// eListBox<eListBoxEntryText> is built in the plug-in from this base: the
// parent, the description widget and the focus flag it is given, the
// entry's height and "eListBox".
class eListBoxBase {
public:
    GIVEN eListBoxBase(eWidget*, const eWidget*, int, int, const char*) { }
    GIVEN ~eListBoxBase() { }
    GIVEN void beginAtomic() { }
    GIVEN void endAtomic() { }
    GIVEN void clearList() { }
    GIVEN void sort() { }
};

class eListBoxEntryText {
public:
    GIVEN eListBoxEntryText(eListBox<eListBoxEntryText>*, const char*, void*, int, const eString&, int) { }
    GIVEN eListBoxEntryText(eListBox<eListBoxEntryText>*, const eString&, void*, int, const eString&, int) { }
    GIVEN void getText() { }
    GIVEN static void getEntryHeight() { }
};

class eThread {
public:
    GIVEN eThread() { }
    GIVEN ~eThread() { }
    GIVEN void run(int, int) { }
    GIVEN void kill(bool) { }
    GIVEN void thread() { }
    GIVEN void thread_finished() { }
};

class eRect {
public:
    GIVEN void width() { }
    GIVEN void height() { }
};
