#pragma once

#include "engine/math/Vec2.h"
#include "engine/math/Vec3.h"
#include "engine/math/Vec4.h"

namespace cocos2d {

// A 4 x 4 float matrix, column-major as OpenGL takes it: m[column * 4 + row].
class Mat4 {
public:
    float m[16];

    Mat4();  // identity
    Mat4(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24, float m31,
         float m32, float m33, float m34, float m41, float m42, float m43, float m44);  // row by row

    static Mat4 createTranslation(float x, float y, float z);
    static Mat4 createScale(float sx, float sy, float sz);
    // Rotation about z by the angle in radians, counter-clockwise for positive angles.
    static Mat4 createRotationZ(float radians);
    static Mat4 createOrthographicOffCenter(float left, float right, float bottom, float top, float zNear,
                                            float zFar);

    Mat4 operator*(const Mat4& o) const;
    Mat4& operator*=(const Mat4& o) {
        *this = *this * o;
        return *this;
    }
    bool operator==(const Mat4& o) const;
    bool operator!=(const Mat4& o) const { return !(*this == o); }

    Vec2 transformPoint(const Vec2& p) const;
    Vec3 transformPoint(const Vec3& p) const;
    Vec4 transformVector(const Vec4& v) const;
    // The inverse; a singular matrix gives the identity.
    Mat4 getInversed() const;
    bool isIdentity() const;

    static const Mat4 IDENTITY;
};

}  // namespace cocos2d
