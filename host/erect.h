#ifndef LIRVA_HOST_ERECT_H
#define LIRVA_HOST_ERECT_H

// Plain geometry values of the toolkit, in pixels of the 720x576 TV screen.

struct ePoint {
    int x = 0, y = 0;
    ePoint() = default;
    ePoint(int x_, int y_) : x(x_), y(y_) { }
    bool operator==(const ePoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const ePoint& o) const { return !(*this == o); }
};

struct eSize {
    int w = 0, h = 0;
    eSize() = default;
    eSize(int width, int height) : w(width), h(height) { }
    int width() const { return w; }
    int height() const { return h; }
    bool operator==(const eSize& o) const { return w == o.w && h == o.h; }
    bool operator!=(const eSize& o) const { return !(*this == o); }
};

class eRect {
public:
    eRect() = default;
    eRect(const ePoint& topLeft, const eSize& size) : pos_(topLeft), size_(size) { }
    eRect(int x, int y, int width, int height) : pos_(x, y), size_(width, height) { }
    int left() const { return pos_.x; }
    int top() const { return pos_.y; }
    int right() const { return pos_.x + size_.w; }   // one past the last column
    int bottom() const { return pos_.y + size_.h; }  // one past the last row
    int width() const { return size_.w; }
    int height() const { return size_.h; }
    ePoint topLeft() const { return pos_; }
    eSize size() const { return size_; }
    bool operator==(const eRect& o) const { return pos_ == o.pos_ && size_ == o.size_; }
    bool operator!=(const eRect& o) const { return !(*this == o); }

private:
    ePoint pos_;
    eSize size_;
};

#endif
