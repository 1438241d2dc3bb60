// example_Plasma.fsh: the look of dirt on a revealed item, a slowly crawling crust of grime in
// blotches over the item's own picture. It has to read as dirt on any item, dark or pale, brown or
// grey: the crust is blotches of dark soot and of pale mould side by side, about half and half, so
// half of it is always far from the colour under it, and its olive hue is neither an item's brown
// nor a blot's blue nor a scrape's grey.
// The node colour is the key magenta, so only its alpha is used. The texel's alpha is kept and
// the colour is multiplied by it, so erased (transparent) parts stay fully clear.
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
    vec2 p = (v_texCoord * resolution - center) / 8.0;
    float n = noise(p + vec2(time * 0.15, time * 0.1)) * 0.6
            + noise(p * 2.3 - vec2(time * 0.2, 0.0)) * 0.3
            + noise(p * 5.1 + vec2(0.0, time * 0.3)) * 0.1;
    float grain = noise(p * 9.0 + vec2(17.0, 3.0));
    vec3 base = t.a > 0.0 ? t.rgb / t.a : vec3(0.0);
    // The item was drawn twice, added, into its render texture: where it is opaque, half of the
    // texel is the item's colour (what was lighter than half is cut off at white).
    vec3 item = base * (t.a > 0.99 ? 0.5 : 1.0);
    // Ragged, grainy edges: the stains are smudged, not cut out.
    float ragged = n + 0.12 * (noise(p * 4.0 + vec2(3.0, 7.0)) - 0.5);
    float soot = smoothstep(0.43, 0.57, ragged);
    vec3 mould = mix(vec3(0.58, 0.58, 0.34), vec3(0.76, 0.75, 0.52), grain);
    vec3 sootColour = mix(vec3(0.13, 0.13, 0.06), vec3(0.26, 0.25, 0.12), grain);
    vec3 grime = mix(mould, sootColour, soot);
    // Specks of dirt all over.
    grime *= 1.0 - 0.35 * smoothstep(0.72, 0.80, noise(p * 14.0 + vec2(5.0, 11.0)));
    float k = 0.80 + 0.15 * n;
    gl_FragColor = vec4(mix(item, grime, k) * t.a, t.a) * v_fragmentColor.a;
}
