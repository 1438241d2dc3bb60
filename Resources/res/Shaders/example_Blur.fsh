// example_Blur.fsh: a box blur for the pause and confirmation snapshots and the hint overlay: the
// mean of a square of samples reaching blurRadius target pixels to each side, sampleNum steps per
// side; resolution is the target's size in pixels. Texels arrive premultiplied, so averaging them
// is correct as it stands.
#ifdef GL_ES
precision mediump float;
#endif

varying vec4 v_fragmentColor;
varying vec2 v_texCoord;

uniform vec2 resolution;
uniform float blurRadius;
uniform float sampleNum;

void main()
{
    vec4 sum = vec4(0.0);
    float count = 0.0;
    float r = max(blurRadius, 0.0);
    float n = max(sampleNum, 1.0);
    float stride = r / n;
    if (r <= 0.0 || stride <= 0.0) {
        gl_FragColor = texture2D(CC_Texture0, v_texCoord) * v_fragmentColor;
        return;
    }
    for (float x = -r; x <= r + 0.001; x += stride) {
        for (float y = -r; y <= r + 0.001; y += stride) {
            sum += texture2D(CC_Texture0, v_texCoord + vec2(x, y) / resolution);
            count += 1.0;
        }
    }
    gl_FragColor = (sum / count) * v_fragmentColor;
}
