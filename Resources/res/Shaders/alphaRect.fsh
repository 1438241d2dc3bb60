// alphaRect.fsh: cuts a clear window into the dimmed snapshot for the hint overlay. holePos is
// (left, bottom, right, top) in the quarter-scale pixels given by resolution, counted from the
// texture's first texel row: for the render-texture snapshot the board passes, the bottom of the
// scene, so the rectangle is in world pixels with y up. Inside it the result is transparent;
// outside it the picture is darkened to 35 % at alpha 0.75. The blur that follows softens the edge.
#ifdef GL_ES
precision mediump float;
#endif

varying vec4 v_fragmentColor;
varying vec2 v_texCoord;

uniform vec4 holePos;
uniform vec2 resolution;

void main()
{
    vec2 p = v_texCoord * resolution;
    bool inside = p.x >= holePos.x && p.x <= holePos.z && p.y >= holePos.y && p.y <= holePos.w;
    if (inside) {
        gl_FragColor = vec4(0.0);
        return;
    }
    vec4 t = texture2D(CC_Texture0, v_texCoord);
    // Premultiplied: scale the colour to the new alpha along with the darkening.
    float a = 0.75;
    vec3 rgb = (t.a > 0.0 ? t.rgb / t.a : vec3(0.0)) * 0.35;
    gl_FragColor = vec4(rgb * a, a) * v_fragmentColor.a;
}
