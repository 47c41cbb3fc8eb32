// Replays the renderer's command list (sim/render/painter.h) on a canvas's 2D context as the
// cairo backend (sim/render/paint_cairo.cpp) draws it on a fresh cairo context: the same path
// calls; a fill or a stroke uses its path up (a path is not part of the saved state in either); one source for fills and strokes; text as a shadow
// fill, an edge stroked with round joins, then the fill, leaving the source and line settings
// as cairo leaves them. Runs in the page and, for its test, in node with a recording context.
'use strict';

const PaintOp = Object.freeze({
  NewPath: 0, MoveTo: 1, LineTo: 2, ClosePath: 3, Rectangle: 4, Fill: 5, Stroke: 6, Paint: 7, SetColour: 8,
  SetLinearGradient: 9, SetLineWidth: 10, SetLineCap: 11, SetLineJoin: 12, Save: 13, Restore: 14,
  GreyAntialias: 15, Text: 16,
});

// The families the page registers the module's two fonts under, by PaintFont.
const PaintFontFamilies = ['VantorSans', 'VantorCondensedBold'];

// cairo's state on a new context.
const CairoDefaults = { lineWidth: 2, lineCap: 'butt', lineJoin: 'miter', source: 'rgba(0,0,0,1)' };

function cssColour(n, at, alpha) {
  return `rgba(${n[at] * 255},${n[at + 1] * 255},${n[at + 2] * 255},${alpha})`;
}

// Which ClosePath commands end a sub-path that a stroke uses: a canvas closes a path by
// searching it (its cost grows with the path), so a sub-path that is only filled is closed by a
// line back to its start instead, the same edge for a fill.
function closesForStrokes(ops) {
  const stroked = new Uint8Array(ops.length);
  let consumer = PaintOp.NewPath;
  for (let i = ops.length - 1; i >= 0; --i) {
    const op = ops[i];
    if (op === PaintOp.Fill || op === PaintOp.Stroke || op === PaintOp.NewPath || op === PaintOp.Text) consumer = op;
    else if (op === PaintOp.ClosePath) stroked[i] = consumer === PaintOp.Stroke ? 1 : 0;
  }
  return stroked;
}

// list: { ops: Uint8Array, numbers: Float64Array, texts: Uint8Array, numbersPerOp: array by op }.
// The numbers may be a view into the module's memory: they are read, never kept.
function paintOnCanvas(ctx, list, width, height) {
  const { ops, numbers: n, texts, numbersPerOp } = list;
  const decoder = new TextDecoder();
  const setSource = (style) => {
    ctx.fillStyle = style;
    ctx.strokeStyle = style;
  };
  ctx.save();
  ctx.lineWidth = CairoDefaults.lineWidth;
  ctx.lineCap = CairoDefaults.lineCap;
  ctx.lineJoin = CairoDefaults.lineJoin;
  setSource(CairoDefaults.source);
  // Paths are built apart from the context (a canvas's own path calls cost several times more).
  let path = new Path2D();
  let startX = 0, startY = 0;  // the sub-path's first point
  const strokedCloses = closesForStrokes(ops);
  let at = 0;
  for (let i = 0; i < ops.length; ++i) {
    const op = ops[i];
    switch (op) {
      case PaintOp.NewPath: path = new Path2D(); break;
      case PaintOp.MoveTo: path.moveTo(startX = n[at], startY = n[at + 1]); break;
      case PaintOp.LineTo: path.lineTo(n[at], n[at + 1]); break;
      case PaintOp.ClosePath:
        if (strokedCloses[i]) path.closePath();
        else path.lineTo(startX, startY);
        break;
      case PaintOp.Rectangle: path.rect(n[at], n[at + 1], n[at + 2], n[at + 3]); break;
      case PaintOp.Fill: ctx.fill(path); path = new Path2D(); break;
      case PaintOp.Stroke: ctx.stroke(path); path = new Path2D(); break;
      case PaintOp.Paint: ctx.fillRect(0, 0, width, height); break;
      case PaintOp.SetColour: setSource(cssColour(n, at, n[at + 3])); break;
      case PaintOp.SetLinearGradient: {
        const gradient = ctx.createLinearGradient(n[at], n[at + 1], n[at + 2], n[at + 3]);
        gradient.addColorStop(0, cssColour(n, at + 4, 1));
        gradient.addColorStop(1, cssColour(n, at + 7, 1));
        setSource(gradient);
        break;
      }
      case PaintOp.SetLineWidth: ctx.lineWidth = n[at]; break;
      case PaintOp.SetLineCap: ctx.lineCap = n[at] === 1 ? 'round' : 'butt'; break;
      case PaintOp.SetLineJoin: ctx.lineJoin = n[at] === 1 ? 'round' : 'miter'; break;
      case PaintOp.Save: ctx.save(); break;
      case PaintOp.Restore: ctx.restore(); break;
      case PaintOp.GreyAntialias: break;  // a canvas always antialiases in grey
      case PaintOp.Text: {
        const text = decoder.decode(texts.subarray(n[at + 4], n[at + 4] + n[at + 5]));
        ctx.font = `${n[at + 1]}px ${PaintFontFamilies[n[at]] || PaintFontFamilies[0]}`;
        if (n[at + 16] !== 0) {
          setSource(cssColour(n, at + 17, n[at + 20]));
          ctx.fillText(text, n[at + 21], n[at + 22]);
        }
        if (n[at + 10] !== 0) {
          setSource(cssColour(n, at + 11, n[at + 14]));
          ctx.lineWidth = n[at + 15];
          ctx.lineJoin = 'round';
          ctx.strokeText(text, n[at + 2], n[at + 3]);
        }
        setSource(cssColour(n, at + 6, n[at + 9]));
        ctx.fillText(text, n[at + 2], n[at + 3]);
        path = new Path2D();
        break;
      }
      default: throw new Error(`unknown paint command ${op}`);
    }
    at += numbersPerOp[op];
  }
  ctx.restore();
}

if (typeof module !== 'undefined') module.exports = { PaintOp, PaintFontFamilies, paintOnCanvas };
