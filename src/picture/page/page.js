// The page's viewer: composes the view of the alignment from the names column, the track strips and the glyph
// atlas the picture library drew, the way the renderer composes its view (whole cells from the scroll
// position), and answers hover, find, selection, copy, links and the window.msarender calls. Text of the
// alignment is only ever inserted with textContent.
(() => {
  'use strict';
  const data = JSON.parse(document.getElementById('msarender-data').textContent);
  // The cells' base64 blocks, taken out of the document: the text is kept only until it is decoded.
  const cellBlocks = [...document.querySelectorAll('script.msarender-cells')].map((block) => {
    block.remove();
    return block.textContent;
  });
  const cw = data.cellWidth;
  const ch = data.cellHeight;
  const rows = data.sequences.length;
  const columns = data.columns;
  const lineColumns = data.lineColumns;  // the widest block's: one block of all columns unless wrapped
  const lineTops = data.lines.filter((_, i) => i % 2 === 0);
  // Residue lines, top to bottom: a row's line in each block, showing its columns [first, end).
  const rowLines = [];
  for (let i = 0; i < data.rowLines.length; i += 4)
    rowLines.push({top: data.rowLines[i], row: data.rowLines[i + 1], first: data.rowLines[i + 2], end: data.rowLines[i + 3]});
  const linesOfRow = Array.from({length: rows}, () => []);
  for (const line of rowLines) linesOfRow[line.row].push(line);
  const blocks = [];
  for (let i = 0; i < data.blocks.length; i += 3)
    blocks.push({top: data.blocks[i], first: data.blocks[i + 1], end: data.blocks[i + 2]});
  const wrapped = blocks.length > 1;
  blocks.forEach((block, i) => {
    block.bottom = i + 1 < blocks.length ? blocks[i + 1].top : data.height;
    const line = linesOfRow.length ? linesOfRow[0].find((l) => l.first === block.first) : null;
    block.rowsTop = line ? line.top : block.bottom;  // above it: the block's ruler band, which picks columns
  });
  const zooms = [1 / 16, 1 / 8, 1 / 4, 1 / 2, 1, 2, 3];
  const detailCellWidth = 3;  // below this many pixels a cell is drawn as its colour only

  let resolveReady;
  let rejectReady;
  const ready = new Promise((resolve, reject) => {
    resolveReady = resolve;
    rejectReady = reject;
  });

  const make = (tag, properties, parent) => {
    const element = Object.assign(document.createElement(tag), properties);
    if (parent) parent.appendChild(element);
    return element;
  };
  const bar = make('div', {id: 'msarender-bar'}, document.body);
  const findBox = make('input', {type: 'search', placeholder: 'Find a motif (C..C, [ST]P) or a name'}, bar);
  const findNote = make('span', {className: 'note'}, bar);
  const zoomOut = make('button', {textContent: '\u2212', title: 'Zoom out (-)'}, bar);
  const zoomLabel = make('span', {className: 'note', textContent: '100 %'}, bar);
  const zoomIn = make('button', {textContent: '+', title: 'Zoom in (+)'}, bar);
  const copyButton = make('button', {textContent: 'Copy FASTA', title: 'Copy the selection as FASTA'}, bar);
  const hover = make('span', {id: 'msarender-hover'}, bar);
  const frame = make('div', {id: 'msarender-frame'}, document.body);
  const canvas = make('canvas', {id: 'msarender-canvas'}, frame);
  const scroller = make('div', {id: 'msarender-scroller', tabIndex: 0}, frame);
  const spacer = make('div', {}, scroller);
  const overview = make('canvas', {id: 'msarender-overview'}, document.body);
  const context = canvas.getContext('2d', {alpha: false});
  document.title = data.title;

  let zoom = 1;
  let atlas = null;
  let cells = null;
  let glyphColours = [];  // '#rrggbb' and [r, g, b] of each glyph's most common pixel
  let strips = [];
  let names = [];
  let right = [];
  let matches = [];  // {row, first, last} in 0-based columns
  let matchesOfRow = new Map();
  let selectedRows = new Set();
  let selectedColumns = null;  // [first, last] 0-based, or null
  let marked = null;           // the cell a link or scrollTo named: {row, column}
  let drawPending = false;

  const bytesOf = (base64) => {
    if (Uint8Array.fromBase64) return Uint8Array.fromBase64(base64);  // a third of atob's time
    const text = atob(base64);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
  };
  // The stream read piece by piece into an array of the size the page expects: half the time of
  // collecting it in a Response, and no more bytes than that size are ever kept. Its blocks are decoded
  // one at a time as the stream takes them, so that decoding and inflating overlap.
  const inflate = async (blocks, size) => {
    const stream = new DecompressionStream('deflate');
    const writer = stream.writable.getWriter();
    (async () => {
      for (const block of blocks) {
        await writer.ready;
        writer.write(bytesOf(block)).catch(() => {});  // a damaged stream is reported by the reader
      }
      await writer.close();
    })().catch(() => {});
    const reader = stream.readable.getReader();
    const result = new Uint8Array(size);
    let at = 0;
    for (;;) {
      const {done, value} = await reader.read();
      if (done) break;
      if (at + value.length > size) throw new Error('the page\'s residue data is damaged');
      result.set(value, at);
      at += value.length;
    }
    if (at !== size) throw new Error('the page\'s residue data is damaged');
    return result;
  };
  const imageOf = async (base64) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + base64;
    await image.decode();
    return image;
  };

  const glyphAt = (row, column) => {
    const i = row * columns + column;
    return data.bytesPerCell === 2 ? cells[2 * i] | (cells[2 * i + 1] << 8) : cells[i];
  };
  const residueAt = (row, column) => data.glyphResidues[glyphAt(row, column)];
  const isGap = (residue) => '-. ~'.includes(residue);
  // The ruler's numbers: counted from the first column's, or a reference's residues (none over its gaps).
  const numbers = data.columnNumbers.length ? data.columnNumbers : null;
  const columnNumber = (column) => (numbers ? numbers[column] : column + data.firstColumnNumber);
  const columnIndex = (number) => (numbers ? numbers.indexOf(number) : number - data.firstColumnNumber);

  // The last line that starts at or above content y.
  const lineIndexAt = (y) => {
    let low = 0;
    let high = lineTops.length - 1;
    while (low < high) {
      const middle = (low + high + 1) >> 1;
      if (lineTops[middle] <= y) low = middle; else high = middle - 1;
    }
    return low;
  };
  // The first residue line that reaches below content y.
  const firstLineFrom = (y) => {
    let low = 0;
    let high = rowLines.length;
    while (low < high) {
      const middle = (low + high) >> 1;
      if (rowLines[middle].top + ch <= y) low = middle + 1; else high = middle;
    }
    return low;
  };
  const lineAt = (y) => {  // the residue line that holds content y, or null
    const line = rowLines[firstLineFrom(y)];
    return line && y >= line.top ? line : null;
  };
  const lineOf = (row, column) => linesOfRow[row].find((line) => column >= line.first && column < line.end);
  const blockAt = (y) => blocks.findLast((block) => block.top <= y) || blocks[0];

  // The first column and the top of the first line shown: as the renderer snaps a scroll position, whole
  // columns from the left edge on and the line holding the top grid row.
  const origin = () => {
    const left = Math.round(scroller.scrollLeft / zoom);
    const top = Math.round(scroller.scrollTop / zoom);
    const column = Math.min(Math.ceil(left / cw), Math.max(lineColumns - 1, 0));
    const y = lineTops.length ? data.lines[2 * lineIndexAt(Math.floor(top / ch) * ch)] : 0;
    return {column, y};
  };

  const viewSize = () => ({width: scroller.clientWidth / zoom, height: scroller.clientHeight / zoom});
  // Where the residues end and the fixed right-hand column (line-end numbers, identities) begins.
  const residuesRight = (size) => Math.max(size.width - data.rightWidth, data.nameWidth);

  // The residue lines in view, each with its y in the view and the columns it shows [first, last).
  const linesInView = (at, size) => {
    const across = Math.ceil((residuesRight(size) - data.nameWidth) / cw) + 1;
    const shown = [];
    for (let i = firstLineFrom(at.y); i < rowLines.length; ++i) {
      const line = rowLines[i];
      const y = line.top - at.y;
      if (y >= size.height) break;
      const first = line.first + at.column;
      shown.push({line, y, first, last: Math.min(line.end, first + across)});
    }
    return shown;
  };

  // Letters from the atlas; below detailCellWidth each cell its colour only, one pixel a cell in one
  // image for all lines in view, each stretched to its line.
  const drawResidues = (size, shown) => {
    if (cw * zoom >= detailCellWidth) {
      drawGlyphs(shown, size);
      return;
    }
    const count = Math.max(...shown.map(({first, last}) => last - first), 1);
    const pixels = new ImageData(count, Math.max(shown.length, 1));
    shown.forEach(({line: {row}, first, last}, line) => {
      for (let column = first; column < last; ++column)
        pixels.data.set(glyphColours[glyphAt(row, column)].rgba, (line * count + column - first) * 4);
    });
    scratch.width = count;
    scratch.height = pixels.height;
    scratch.getContext('2d').putImageData(pixels, 0, 0);
    const smooth = context.imageSmoothingEnabled;
    context.imageSmoothingEnabled = cw * zoom < 1;  // an overview: cells blend below a pixel
    shown.forEach(({y}, line) => context.drawImage(scratch, 0, line, count, 1, data.nameWidth, y, count * cw, ch));
    context.imageSmoothingEnabled = smooth;
  };
  const scratch = document.createElement('canvas');

  // The cells in view copied from the atlas's pixels into one image, then drawn at the zoom: one image
  // a frame rather than one per cell, which is what keeps a large view's scrolling smooth.
  let atlasPixels = null;  // Uint32Array, one pixel a value
  let atlasWidth = 0;
  let glyphFrame = null;   // ImageData reused while the view keeps its size
  const glyphCanvas = document.createElement('canvas');
  const drawGlyphs = (shown, size) => {
    // As wide as the view can show, whatever is scrolled to: a new image only when the view is resized.
    const width = (Math.max(Math.ceil((residuesRight(size) - data.nameWidth) / cw), 0) + 1) * cw;
    const height = Math.max(Math.ceil(size.height), 1);
    const used = Math.min(Math.max(...shown.map(({first, last}) => last - first), 1) * cw, width);
    if (!glyphFrame || glyphFrame.width !== width || glyphFrame.height !== height) {
      glyphFrame = new ImageData(width, height);
      glyphCanvas.width = width;
      glyphCanvas.height = height;
    }
    const out = new Uint32Array(glyphFrame.data.buffer);
    out.fill(0xffffffff);
    for (const {line: {row}, y, first: firstColumn, last: lastColumn} of shown) {
      const first = Math.max(-y, 0);
      const last = Math.min(ch, height - y);
      for (let column = firstColumn; column < lastColumn; ++column) {
        const glyph = glyphAt(row, column);
        const from = (Math.floor(glyph / data.glyphsPerRow) * ch + first) * atlasWidth + (glyph % data.glyphsPerRow) * cw;
        const to = (y + first) * width + (column - firstColumn) * cw;
        for (let line = first, i = from, o = to; line < last; ++line, i += atlasWidth, o += width)
          for (let x = 0; x < cw; ++x) out[o + x] = atlasPixels[i + x];
      }
    }
    glyphCanvas.getContext('2d').putImageData(glyphFrame, 0, 0, 0, 0, used, height);
    context.drawImage(glyphCanvas, 0, 0, used, height, data.nameWidth, 0, used, height);
  };

  const drawStrips = (at, size) => {
    const left = data.nameWidth - at.column * cw;
    for (const strip of strips) {
      const y = strip.top - at.y;
      if (y + strip.height <= 0 || y >= size.height) continue;
      strip.pieces.forEach((piece, i) => {
        const x = left + i * data.pieceSide;
        if (x + piece.width > data.nameWidth && x < residuesRight(size)) context.drawImage(piece, x, y);
      });
    }
  };

  // A fixed column from x = `left`, `width` wide: its pieces scroll with the rows only (one block's, again
  // beside every block, when the page's blocks are alike).
  const drawColumn = (pieces, left, width, at, size) => {
    context.save();
    context.beginPath();
    context.rect(left, 0, width, size.height);
    context.clip();
    context.fillStyle = '#fff';
    context.fillRect(left, 0, width, size.height);
    const period = data.columnPeriod || Math.max(data.height, 1);
    for (let base = Math.floor(at.y / period) * period; base < at.y + size.height; base += period)
      pieces.forEach((piece, i) => {
        const y = base + i * data.pieceSide - at.y;
        if (y + piece.height > 0 && y < size.height) context.drawImage(piece, left, y);
      });
    context.restore();
  };
  const drawNames = (at, size, shown) => {
    drawColumn(names, 0, data.nameWidth, at, size);
    context.fillStyle = 'rgba(40, 110, 220, 0.25)';
    for (const {line, y} of shown)
      if (selectedRows.has(line.row)) context.fillRect(0, y, data.nameWidth, ch);
    if (data.rightWidth) drawColumn(right, residuesRight(size), data.rightWidth, at, size);
  };

  // The view's x of a column on a line (or in a block) that starts at column `first`.
  const columnX = (at, first, column) => data.nameWidth + (column - first - at.column) * cw;
  const cellBox = (at, row, column) => {
    const line = lineOf(row, column);
    return {x: columnX(at, line.first, column), y: line.top - at.y};
  };

  const drawMarks = (at, size, shown) => {
    context.save();
    context.beginPath();
    context.rect(data.nameWidth, 0, residuesRight(size) - data.nameWidth, size.height);
    context.clip();
    // Columns [from, to] of a line or block, cut to the columns it shows.
    const span = (place, from, to) => {
      const first = Math.max(from, place.first);
      const last = Math.min(to, place.end - 1);
      return last < first ? null : {x: columnX(at, place.first, first), width: (last - first + 1) * cw};
    };
    context.lineWidth = Math.max(2 / zoom, 1);
    context.strokeStyle = '#e00000';
    for (const {line, y} of shown)
      for (const match of matchesOfRow.get(line.row) || []) {
        const box = span(line, match.first, match.last);
        if (box) context.strokeRect(box.x + 0.5, y + 0.5, box.width - 1, ch - 1);
      }
    context.fillStyle = 'rgba(40, 110, 220, 0.25)';
    const [from, to] = selectedColumns || [0, columns - 1];
    for (const {line, y} of shown) {
      const box = selectedRows.has(line.row) && span(line, from, to);
      if (box) context.fillRect(box.x, y, box.width, ch);
    }
    if (selectedColumns && selectedRows.size === 0)
      for (const block of blocks) {
        const box = span(block, from, to);
        if (box) context.fillRect(box.x, block.top - at.y, box.width, block.bottom - block.top);
      }
    if (marked) {
      const box = cellBox(at, marked.row, marked.column);
      context.strokeStyle = '#0050d0';
      context.strokeRect(box.x - 0.5, box.y - 0.5, cw + 1, ch + 1);
    }
    context.restore();
  };

  // The time of the last draws, for a page's measurement of its own frames.
  const drawTimes = [];
  const keptDrawTimes = 240;
  const draw = () => {
    const started = performance.now();
    composeView();
    drawTimes.push(performance.now() - started);
    if (drawTimes.length > keptDrawTimes) drawTimes.shift();
  };
  const composeView = () => {
    drawPending = false;
    const width = scroller.clientWidth;
    const height = scroller.clientHeight;
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
      canvas.style.width = width + 'px';
      canvas.style.height = height + 'px';
    }
    context.setTransform(1, 0, 0, 1, 0, 0);
    context.fillStyle = '#fff';
    context.fillRect(0, 0, width, height);
    if (!atlas) return;
    context.setTransform(zoom, 0, 0, zoom, 0, 0);
    context.imageSmoothingEnabled = zoom < 1;
    const at = origin();
    const size = viewSize();
    const shown = linesInView(at, size);
    drawResidues(size, shown);
    drawStrips(at, size);
    drawMarks(at, size, shown);
    drawNames(at, size, shown);
    drawOverviewFrame();
  };
  const redraw = () => {
    if (drawPending) return;
    drawPending = true;
    requestAnimationFrame(draw);
  };

  // The overview: the whole alignment, one pixel standing for a block of cells, the view framed on it.
  let overviewImage = null;
  const makeOverview = () => {
    const width = Math.max(overview.clientWidth, 1);
    const height = Math.max(overview.clientHeight, 1);
    overview.width = width;
    overview.height = height;
    const pixels = new ImageData(width, height);
    for (let y = 0; y < height; ++y) {
      const row = Math.min(Math.floor((y * rows) / height), rows - 1);
      for (let x = 0; x < width; ++x) {
        const column = Math.min(Math.floor((x * columns) / width), columns - 1);
        const rgb = rows && columns ? glyphColours[glyphAt(row, column)].rgb : [255, 255, 255];
        pixels.data.set([rgb[0], rgb[1], rgb[2], 255], (y * width + x) * 4);
      }
    }
    overviewImage = pixels;
  };
  const drawOverviewFrame = () => {
    if (!overviewImage) return;
    const paint = overview.getContext('2d');
    paint.putImageData(overviewImage, 0, 0);
    const at = origin();
    const size = viewSize();
    const line = rowLines[Math.min(firstLineFrom(at.y), rowLines.length - 1)] || {row: 0, first: 0, end: 0};
    // The columns in view: at most those of the top line's block.
    const across = Math.min((residuesRight(size) - data.nameWidth) / cw, line.end - line.first - at.column);
    const x = ((line.first + at.column) / Math.max(columns, 1)) * overview.width;
    const w = (Math.max(across, 0) / Math.max(columns, 1)) * overview.width;
    const y = (line.row / Math.max(rows, 1)) * overview.height;
    const h = (size.height / ch / Math.max(rows, 1)) * overview.height;
    paint.strokeStyle = '#000';
    paint.lineWidth = 1;
    paint.strokeRect(Math.floor(x) + 0.5, Math.floor(y) + 0.5, Math.max(w, 2), Math.max(h, 2));
  };
  overview.addEventListener('click', (event) => {
    const box = overview.getBoundingClientRect();
    const column = Math.floor(((event.clientX - box.left) / box.width) * columns);
    const row = Math.floor(((event.clientY - box.top) / box.height) * rows);
    const size = viewSize();
    const cellsAcross = Math.floor((residuesRight(size) - data.nameWidth) / cw);
    const rowsDown = Math.floor(size.height / ch);
    scrollToCell(Math.max(row - (rowsDown >> 1), 0), Math.max(column - (cellsAcross >> 1), 0));
  });

  const setScroll = (left, top) => {
    scroller.scrollLeft = left;
    scroller.scrollTop = top;
    draw();
  };
  // The cell's line at the top, and the cell at the left edge; a wrapped block stays put while it shows it.
  const scrollToCell = (row, column) => {
    row = Math.min(Math.max(row, 0), Math.max(rows - 1, 0));
    column = Math.min(Math.max(column, 0), Math.max(columns - 1, 0));
    const line = rows ? lineOf(row, column) : {top: 0, first: 0};
    const across = Math.floor((residuesRight(viewSize()) - data.nameWidth) / cw);
    const left = wrapped && column - line.first < across ? 0 : column - line.first;
    setScroll(left * cw * zoom, line.top * zoom);
  };

  // Any cell can be brought to the top left, as --view can show it: the last ones have white beyond.
  const sizeSpacer = () => {
    spacer.style.width = (data.nameWidth + lineColumns * cw) * zoom + scroller.clientWidth - (data.nameWidth + cw) * zoom + 'px';
    spacer.style.height = data.height * zoom + scroller.clientHeight - ch * zoom + 'px';
  };
  const setZoom = (level) => {
    const at = origin();
    zoom = level;
    zoomLabel.textContent = Math.round(zoom * 100) + ' %';
    sizeSpacer();
    setScroll(at.column * cw * zoom, at.y * zoom);
  };
  const stepZoom = (step) => {
    const i = zooms.indexOf(zoom) + step;
    if (i >= 0 && i < zooms.length) setZoom(zooms[i]);
  };
  zoomIn.addEventListener('click', () => stepZoom(1));
  zoomOut.addEventListener('click', () => stepZoom(-1));

  // The row and 0-based column (null beside the residues) at a client point, or null.
  const cellAt = (clientX, clientY) => {
    const box = scroller.getBoundingClientRect();
    const x = (clientX - box.left) / zoom;
    const y = (clientY - box.top) / zoom;
    const size = viewSize();
    if (!atlas || x < 0 || y < 0 || x >= size.width || y >= size.height) return null;
    const at = origin();
    const line = lineAt(at.y + y);
    if (!line) return null;
    if (x < data.nameWidth || x >= residuesRight(size)) return {row: line.row, column: null};
    const column = line.first + at.column + Math.floor((x - data.nameWidth) / cw);
    return column < line.end ? {row: line.row, column} : null;
  };
  // What the view shows at a client point: the column as the ruler numbers it (null where it has none).
  const hit = (clientX, clientY) => {
    const cell = cellAt(clientX, clientY);
    if (!cell) return null;
    const name = data.sequences[cell.row].name;
    if (cell.column === null) return {sequence: cell.row, name, column: null, residue: null};
    return {sequence: cell.row, name, column: columnNumber(cell.column), residue: residueAt(cell.row, cell.column)};
  };
  const cellRect = (sequence, column) => {
    if (!(sequence >= 0 && sequence < rows)) return null;
    const index = columnIndex(column);
    if (!(index >= 0 && index < columns)) return null;
    const box = scroller.getBoundingClientRect();
    const cell = cellBox(origin(), sequence, index);
    return new DOMRect(box.left + cell.x * zoom, box.top + cell.y * zoom, cw * zoom, ch * zoom);
  };
  // The run of consecutive alignment columns that holds a column: all of them, unless columns were chosen.
  const runOf = (column) => {
    let run = data.runStarts.length - 1;
    while (run > 0 && data.runStarts[run] > column) --run;
    return run;
  };
  // The residue's number in its sequence's own coordinates, as the name's /start-end range counts them.
  const positionOf = (row, column) => {
    const sequence = data.sequences[row];
    const run = runOf(column);
    let count = sequence.residuesBefore ? sequence.residuesBefore[run] : 0;
    for (let c = data.runStarts[run]; c <= column; ++c)
      if (!isGap(residueAt(row, c))) ++count;
    return sequence.firstResidue + sequence.residueStep * (count - 1);
  };

  scroller.addEventListener('scroll', redraw);
  scroller.addEventListener('mousemove', (event) => {
    const cell = cellAt(event.clientX, event.clientY);
    if (!cell) {
      hover.textContent = '';
      return;
    }
    const {name, description} = data.sequences[cell.row];
    let text = name + (description ? ' ' + description : '');
    if (cell.column !== null) {
      const number = columnNumber(cell.column);
      const residue = residueAt(cell.row, cell.column);
      text += number === null ? '  no column number (a gap in the reference)' : '  column ' + number;
      text += '  ' + residue;
      if (!isGap(residue)) text += ' ' + positionOf(cell.row, cell.column);
    }
    hover.textContent = text;
  });
  scroller.addEventListener('wheel', (event) => {
    if (!event.ctrlKey) return;
    event.preventDefault();
    stepZoom(event.deltaY < 0 ? 1 : -1);
  }, {passive: false});

  // Selection: names pick sequences, the top band picks columns; shift extends from the last pick.
  let anchor = null;
  const pick = (event, extend) => {
    const box = scroller.getBoundingClientRect();
    const x = (event.clientX - box.left) / zoom;
    const y = (event.clientY - box.top) / zoom;
    const at = origin();
    const line = lineAt(at.y + y);
    const row = line ? line.row : -1;
    const block = blockAt(at.y + y);
    if (x < data.nameWidth && row >= 0) {
      if (!extend || !anchor || anchor.kind !== 'rows') {
        if (!event.ctrlKey && !event.metaKey) selectedRows = new Set();
        anchor = {kind: 'rows', at: row};
      }
      for (let r = Math.min(anchor.at, row); r <= Math.max(anchor.at, row); ++r) selectedRows.add(r);
    } else if (x >= data.nameWidth && x < residuesRight(viewSize()) && block && at.y + y < block.rowsTop) {
      const column = Math.min(block.first + at.column + Math.floor((x - data.nameWidth) / cw), block.end - 1);
      if (!extend || !anchor || anchor.kind !== 'columns') anchor = {kind: 'columns', at: column};
      selectedColumns = [Math.min(anchor.at, column), Math.max(anchor.at, column)];
    } else if (!extend) {
      selectedRows = new Set();
      selectedColumns = null;
      anchor = null;
    }
    redraw();
  };
  let dragging = false;
  scroller.addEventListener('mousedown', (event) => {
    dragging = true;
    pick(event, event.shiftKey);
  });
  scroller.addEventListener('mousemove', (event) => {
    if (dragging && event.buttons === 1) pick(event, true);
  });
  window.addEventListener('mouseup', () => {
    dragging = false;
  });

  const selectionFasta = () => {
    if (selectedRows.size === 0 && !selectedColumns) return '';
    const chosen = selectedRows.size ? [...selectedRows].sort((a, b) => a - b) : [...Array(rows).keys()];
    const [first, last] = selectedColumns || [0, columns - 1];
    let text = '';
    for (const row of chosen) {
      let residues = '';
      for (let column = first; column <= last; ++column) residues += residueAt(row, column);
      text += '>' + data.sequences[row].name + '\n';
      for (let i = 0; i < residues.length; i += 60) text += residues.slice(i, i + 60) + '\n';
    }
    return text;
  };
  document.addEventListener('copy', (event) => {
    if (document.activeElement === findBox) return;
    const text = selectionFasta();
    if (!text) return;
    event.clipboardData.setData('text/plain', text);
    event.preventDefault();
  });
  copyButton.addEventListener('click', () => {
    scroller.focus();
    document.execCommand('copy');
  });

  // Find: the viewer's motif syntax (letters, X or ., [..], [^..], {n,m}; gaps skipped), else a name.
  const motifExpression = (motif) => {
    const text = motif.trim().replaceAll('-', '');
    if (!text || !/^[\p{L}\p{N}.[\]^{},]+$/u.test(text)) return null;
    try {
      const expression = new RegExp(text.replace(/[xX]/g, '.'), 'gi');
      return expression.test('') ? null : expression;
    } catch (error) {
      return null;
    }
  };
  const ungapped = [];
  const runStart = new Set(data.runStarts);
  const ungappedRow = (row) => {
    if (!ungapped[row]) {
      let residues = '';
      const at = [];
      for (let column = 0; column < columns; ++column) {
        if (column > 0 && runStart.has(column)) {  // no motif runs across left-out columns
          residues += '\n';
          at.push(-1);
        }
        const residue = residueAt(row, column);
        if (isGap(residue)) continue;
        residues += residue;
        at.push(column);
      }
      ungapped[row] = {residues, at};
    }
    return ungapped[row];
  };
  const find = (pattern) => {
    matches = [];
    const wanted = String(pattern || '').trim();
    const expression = motifExpression(wanted);
    for (let row = 0; row < rows && expression; ++row) {
      const {residues, at} = ungappedRow(row);
      for (const match of residues.matchAll(expression))
        if (match[0].length && !match[0].includes('\n')) matches.push({row, first: at[match.index], last: at[match.index + match[0].length - 1]});
    }
    const byName = wanted && !matches.length;  // what matches no residues may be part of a name
    for (let row = 0; row < rows && byName; ++row)
      if (data.sequences[row].name.toLowerCase().includes(wanted.toLowerCase()))
        matches.push({row, first: 0, last: columns - 1});
    matchesOfRow = new Map();
    for (const match of matches) {
      if (!matchesOfRow.has(match.row)) matchesOfRow.set(match.row, []);
      matchesOfRow.get(match.row).push(match);
    }
    findNote.textContent = wanted ? matches.length + (matches.length === 1 ? ' match' : ' matches') : '';
    if (matches.length) scrollToCell(matches[0].row, matches[0].first);
    else redraw();
    return matches.length;
  };
  findBox.addEventListener('change', () => find(findBox.value));

  // Links: #seq=NAME-or-INDEX&col=COLUMN, the index counted from 1, the column as the ruler numbers it.
  const openLink = () => {
    const parameters = new URLSearchParams(location.hash.slice(1));
    if (!parameters.has('seq') && !parameters.has('col')) return;
    const wanted = parameters.get('seq');
    let row = 0;
    if (wanted !== null) {
      row = data.sequences.findIndex((sequence) => sequence.name === wanted);
      if (row < 0 && /^\d+$/.test(wanted)) row = Number(wanted) - 1;
      if (!(row >= 0 && row < rows)) row = 0;
    }
    const number = parameters.has('col') ? Number(parameters.get('col')) : columnNumber(0);
    const column = Number.isInteger(number) ? columnIndex(number) : 0;
    marked = {row, column: Math.min(Math.max(column, 0), Math.max(columns - 1, 0))};
    scrollToCell(row, marked.column);
  };
  window.addEventListener('hashchange', openLink);

  document.addEventListener('keydown', (event) => {
    if (document.activeElement === findBox) return;
    if (event.key === '+' || event.key === '=') stepZoom(1);
    else if (event.key === '-') stepZoom(-1);
    else if (event.key === '/' ) {
      event.preventDefault();
      findBox.focus();
    }
  });
  new ResizeObserver(() => {
    sizeSpacer();
    if (atlas) makeOverview();
    draw();
  }).observe(frame);

  const pixelsOf = (image) => {
    const paint = Object.assign(document.createElement('canvas'), {width: image.width, height: image.height});
    const context2d = paint.getContext('2d');
    context2d.drawImage(image, 0, 0);
    return context2d.getImageData(0, 0, image.width, image.height).data;
  };
  // The most common pixel of each glyph: its colour when cells are too small for letters.
  const coloursOf = (pixels, image, count) => {
    const colours = [];
    for (let glyph = 0; glyph < count; ++glyph) {
      const left = (glyph % data.glyphsPerRow) * cw;
      const top = Math.floor(glyph / data.glyphsPerRow) * ch;
      const counts = new Map();
      for (let y = top; y < top + ch; ++y)
        for (let x = left; x < left + cw; ++x) {
          const i = (y * image.width + x) * 4;
          const key = (pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2];
          counts.set(key, (counts.get(key) || 0) + 1);
        }
      let best = 0xffffff;
      let most = -1;
      for (const [key, n] of counts)
        if (n > most) {
          most = n;
          best = key;
        }
      colours.push({rgb: [best >> 16, (best >> 8) & 255, best & 255], rgba: [best >> 16, (best >> 8) & 255, best & 255, 255]});
    }
    return colours;
  };

  const start = async () => {
    const [glyphImage, cellBytes, stripImages, nameImages, rightImages] = await Promise.all([
      imageOf(data.glyphs), inflate(cellBlocks, rows * columns * data.bytesPerCell),
      Promise.all(data.strips.map((strip) => Promise.all(strip.pieces.map(imageOf)))),
      Promise.all(data.names.map(imageOf)), Promise.all(data.right.map(imageOf))]);
    cells = cellBytes;
    const glyphPixels = pixelsOf(glyphImage);
    atlasPixels = new Uint32Array(glyphPixels.buffer);
    atlasWidth = glyphImage.width;
    glyphColours = coloursOf(glyphPixels, glyphImage, data.glyphResidues.length);
    strips = data.strips.map((strip, i) => ({top: strip.top, height: strip.height, pieces: stripImages[i]}));
    names = nameImages;
    right = rightImages;
    atlas = glyphImage;
    makeOverview();
    setZoom(1);
    openLink();
    scroller.focus();
  };

  window.msarender = Object.freeze({
    ready,
    scrollTo: (sequence, column) => scrollToCell(sequence, Math.max(columnIndex(column), 0)),
    scrollToPixel: (left, top) => setScroll(left * zoom, top * zoom),
    cellRect,
    hit,
    find,
    get view() {
      return frame;
    },
    nameWidth: data.nameWidth,
    rightWidth: data.rightWidth,
    get zoom() {
      return zoom;
    },
    setZoom: (level) => setZoom(Math.min(Math.max(Number(level) || 1, zooms[0]), zooms[zooms.length - 1])),
    selectionFasta,
    get drawTimes() {
      return [...drawTimes];
    },
  });
  start().then(() => resolveReady(window.msarender), (error) => {
    hover.textContent = 'This page could not be opened: ' + error.message;
    rejectReady(error);
  });
})();
