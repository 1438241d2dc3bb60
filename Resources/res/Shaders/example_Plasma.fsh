// example_Plasma.fsh: the look of dirt on a revealed item, a slowly crawling grime over the
// item's own picture.
// The node colour is the key magenta, so only its alpha is used. The texel's alpha is kept and
// the colour is multiplied by it, so erased (transparent) parts stay fully clear even though
// the item's render texture was cleared to white.
#ifdef GL_ES
precision mediump float;
#endif

varying vec4 v_fragmentColor;
varying vec2 v_texCoord;

uniform vec2 center;
uniform vec2 resolution;

float hash(vec2 p)
{
    return fract(sin(dot(p, vec2(127.1, 311.7))) * 43758.5453);
}

float noise(vec2 p)
{
    vec2 i = floor(p);
    vec2 f = fract(p);
    vec2 u = f * f * (3.0 - 2.0 * f);
    return mix(mix(hash(i), hash(i + vec2(1.0, 0.0)), u.x),
               mix(hash(i + vec2(0.0, 1.0)), hash(i + vec2(1.0, 1.0)), u.x), u.y);
}

void main()
{
    vec4 t = texture2D(CC_Texture0, v_texCoord);
    float time = CC_Time.y;
    vec2 p = (v_texCoord * resolution - center) / 18.0;
    float n = noise(p + vec2(time * 0.15, time * 0.1)) * 0.6
            + noise(p * 2.3 - vec2(time * 0.2, 0.0)) * 0.3
            + noise(p * 5.1 + vec2(0.0, time * 0.3)) * 0.1;
    vec3 grime = mix(vec3(0.22, 0.17, 0.10), vec3(0.46, 0.38, 0.24), n);
    float k = 0.55 + 0.35 * n;
    vec3 base = t.a > 0.0 ? t.rgb / t.a : vec3(0.0);
    gl_FragColor = vec4(mix(base, grime, k) * t.a, t.a) * v_fragmentColor.a;
}
