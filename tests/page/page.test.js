// The HTML page msarender writes, opened from file:// in Debian's Chromium: offline, the same pixels as
// --view, hit tests against cellRect, hover, find, links, copy, and hostile names. Run by ctest with
// MSARENDER (the command), MSARENDER_TEST_DATA and PAGE_TEST_DIR (a fresh folder) set; again in Firefox.
'use strict';
const {test, before, after} = require('node:test');
const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const puppeteer = require('puppeteer-core');  // missing node_modules fails here: run scripts/setup.sh

const command = process.env.MSARENDER;
const dataDir = process.env.MSARENDER_TEST_DATA;
const work = process.env.PAGE_TEST_DIR;
assert.ok(command && dataDir && work, 'MSARENDER, MSARENDER_TEST_DATA and PAGE_TEST_DIR must be set');
fs.rmSync(work, {recursive: true, force: true});
fs.mkdirSync(work, {recursive: true});

const render = (...args) => execFileSync(command, ['-q', ...args], {env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}});
// The page and the picture of the same input and options, as work/NAME.html and work/NAME.png.
const renderPageAndPicture = (name, input, ...options) => {
  const [html, png] = [path.join(work, name + '.html'), path.join(work, name + '.png')];
  render(input, ...options, '-o', html);
  render(input, ...options, '-o', png);
  return {html, png};
};

// A protein alignment whose every residue the test knows: random letters without W and H, gaps, and the
// motif W-W-H planted with gaps inside it in rows 3 and 11 (and once ungapped in row 20).
const rows = 24;
const columns = 160;
let seed = 7;
const random = () => (seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648;
const letters = 'ACDEFGIKLMNPQRSTVY';
const known = [];
for (let row = 0; row < rows; ++row) {
  let text = '';
  for (let column = 0; column < columns; ++column)
    text += random() < 0.15 ? '-' : letters[Math.floor(random() * letters.length)];
  known.push(text);
}
const plant = (row, column, motif) => {
  known[row] = known[row].slice(0, column) + motif + known[row].slice(column + motif.length);
};
plant(3, 40, 'W-W--H');
plant(11, 100, 'WW-H');
plant(20, 5, 'WWH');
const nameOf = (row) => `seq${row + 1}/1-${known[row].replace(/-/g, '').length}`;
const knownFasta = path.join(work, 'known.fa');
fs.writeFileSync(knownFasta, known.map((text, row) => `>${nameOf(row)} protein ${row}\n${text}\n`).join(''));

const launchArgs = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--force-color-profile=srgb', '--user-data-dir=' + path.join(work, 'profile')];
// PAGE_BROWSER=firefox: FIREFOX (Debian's firefox-esr) over WebDriver BiDi, with a profile of its own.
const firefox = process.env.PAGE_BROWSER === 'firefox';
let browser;
before(async () => {
  if (firefox) {
    const profile = path.join(work, 'firefox-profile');
    fs.mkdirSync(profile, {recursive: true});
    browser = await puppeteer.launch({browser: 'firefox', executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr', headless: true,
                                      args: ['--no-remote'], userDataDir: profile});
  } else {
    browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', args: launchArgs, headless: true});
  }
});
after(async () => {
  if (browser) await browser.close();
});

// Opens a page file with every request but the file itself refused and recorded.
const open = async (file, hash = '', size = {width: 1000, height: 700}) => {
  const page = await browser.newPage();
  await page.setViewport({...size, deviceScaleFactor: 1});
  const url = 'file://' + file + hash;
  const outside = [];
  const problems = [];
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    if (request.url().split('#')[0] === 'file://' + file || request.url().startsWith('data:')) request.continue();
    else {
      outside.push(request.url());
      request.abort();
    }
  });
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(message.text());
  });
  await page.goto(url);
  await page.evaluate(() => window.msarender.ready);
  return {page, outside, problems};
};
const layoutOf = (page) => page.evaluate(() => {
  const data = JSON.parse(document.getElementById('msarender-data').textContent);
  return {cw: data.cellWidth, ch: data.cellHeight, nameWidth: data.nameWidth, firstRowTop: data.sequences[0].top};
});

// Pixels of two PNGs (base64) compared in a blank page from x = `left`: the first difference, or null.
const firstDifference = async (a, b, left, width, height) => {
  const blank = await browser.newPage();
  try {
    return await blank.evaluate(async (a, b, left, width, height) => {
      const pixels = async (base64) => {
        const image = new Image();
        image.src = 'data:image/png;base64,' + base64;
        await image.decode();
        const canvas = Object.assign(document.createElement('canvas'), {width, height});
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        return {data: context.getImageData(0, 0, width, height).data, width: image.width, height: image.height};
      };
      const [one, two] = [await pixels(a), await pixels(b)];
      if (one.width < width || two.width < width || one.height < height || two.height < height)
        return `sizes ${one.width}x${one.height} and ${two.width}x${two.height}, ${width}x${height} compared`;
      for (let y = 0; y < height; ++y)
        for (let x = left; x < width; ++x) {
          const i = (y * width + x) * 4;
          if (one.data[i] !== two.data[i] || one.data[i + 1] !== two.data[i + 1] || one.data[i + 2] !== two.data[i + 2])
            return `(${x}, ${y}): ${one.data.slice(i, i + 3)} against ${two.data.slice(i, i + 3)}`;
        }
      return null;
    }, a, b, left, width, height);
  } finally {
    await blank.close();
  }
};

// In a blank page: for each region {a: [x, y], b: [x, y], width, height}, the first pixel of PNG `a` (base64)
// from a's corner that differs from PNG `b` from b's; a description of it, or null.
const regionDifference = async (a, b, regions) => {
  const blank = await browser.newPage();
  try {
    return await blank.evaluate(async (a, b, regions) => {
      const pixels = async (base64) => {
        const image = new Image();
        image.src = 'data:image/png;base64,' + base64;
        await image.decode();
        const canvas = Object.assign(document.createElement('canvas'), {width: image.width, height: image.height});
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        return {data: context.getImageData(0, 0, image.width, image.height).data, width: image.width, height: image.height};
      };
      const [one, two] = [await pixels(a), await pixels(b)];
      for (const {a: [ax, ay], b: [bx, by], width, height} of regions) {
        if (ax + width > one.width || ay + height > one.height || bx + width > two.width || by + height > two.height)
          return `region ${width}x${height} beyond ${one.width}x${one.height} or ${two.width}x${two.height}`;
        for (let y = 0; y < height; ++y)
          for (let x = 0; x < width; ++x) {
            const i = ((ay + y) * one.width + ax + x) * 4;
            const j = ((by + y) * two.width + bx + x) * 4;
            if (one.data[i] !== two.data[j] || one.data[i + 1] !== two.data[j + 1] || one.data[i + 2] !== two.data[j + 2])
              return `(${ax + x}, ${ay + y}) against (${bx + x}, ${by + y}): ${one.data.slice(i, i + 3)} against ${two.data.slice(j, j + 3)}`;
          }
      }
      return null;
    }, a, b, regions);
  } finally {
    await blank.close();
  }
};

// The view as a screenshot (base64 PNG) and a reader of its pixels, [r, g, b] at view coordinates.
const viewShot = async (page) => {
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
  const box = await page.evaluate(() => {
    const r = window.msarender.view.getBoundingClientRect();
    return {x: r.left, y: r.top, width: r.width, height: r.height};
  });
  const base64 = await page.screenshot({clip: box, encoding: 'base64', captureBeyondViewport: false});
  const blank = await browser.newPage();
  const pixels = await blank.evaluate(async (base64) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + base64;
    await image.decode();
    const canvas = Object.assign(document.createElement('canvas'), {width: image.width, height: image.height});
    canvas.getContext('2d').drawImage(image, 0, 0);
    const bytes = canvas.getContext('2d').getImageData(0, 0, image.width, image.height).data;
    let text = '';
    for (let i = 0; i < bytes.length; i += 32768) text += String.fromCharCode(...bytes.subarray(i, i + 32768));
    return {width: image.width, height: image.height, data: btoa(text)};
  }, base64);
  await blank.close();
  pixels.data = Buffer.from(pixels.data, 'base64');
  const at = (x, y) => {
    assert.ok(x >= 0 && y >= 0 && x < pixels.width && y < pixels.height, `(${x}, ${y}) outside the view`);
    const i = (Math.floor(y) * pixels.width + Math.floor(x)) * 4;
    return [...pixels.data.subarray(i, i + 3)];
  };
  return {base64, at, width: pixels.width, height: pixels.height};
};
const isDark = ([r, g, b]) => r + g + b < 200;
const isWhite = ([r, g, b]) => r === 255 && g === 255 && b === 255;
const layoutData = (page) => page.evaluate(() => {
  const data = JSON.parse(document.getElementById('msarender-data').textContent);
  return {cw: data.cellWidth, ch: data.cellHeight, nameWidth: data.nameWidth, rightWidth: data.rightWidth,
          columns: data.columns, height: data.height, lines: data.lines, tops: data.sequences.map((s) => s.top),
          // Inside the scroll bars, which some browsers draw over the view's right and bottom edges.
          viewWidth: document.getElementById('msarender-scroller').clientWidth};
});
const scrollAndWait = (page, left, top) => page.evaluate((left, top) => window.msarender.scrollToPixel(left, top), left, top);

// The page at a scroll position against `msarender IN --view WxH+LEFT+TOP`, in the residue area.
const compareWithView = async (input, extra, positions) => {
  const file = path.join(work, path.basename(input) + '.html');
  render(input, ...extra, '-o', file);
  const {page, outside, problems} = await open(file);
  const layout = await layoutOf(page);
  const [width, height] = [640, 400];
  for (const [left, top] of positions) {
    const png = path.join(work, `view-${path.basename(input)}-${left}-${top}.png`);
    render(input, ...extra, '--view', `${width}x${height}+${left}+${top}`, '-o', png);
    await page.evaluate((left, top) => window.msarender.scrollToPixel(left, top), left, top);
    const box = await page.evaluate(() => {
      const r = window.msarender.view.getBoundingClientRect();
      return {x: r.left, y: r.top};
    });
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    const shot = await page.screenshot({clip: {x: box.x, y: box.y, width, height}, encoding: 'base64',
                                        captureBeyondViewport: false});
    const expected = fs.readFileSync(png).toString('base64');
    if (process.env.PAGE_SHOTS) fs.writeFileSync(path.join(process.env.PAGE_SHOTS, `page-${path.basename(input)}-${left}-${top}.png`), Buffer.from(shot, 'base64'));
    const difference = await firstDifference(shot, expected, layout.nameWidth, width, height);
    assert.equal(difference, null, `${path.basename(input)} at +${left}+${top}: ${difference}`);
  }
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await page.close();
};

test('the view equals --view at several scroll positions', async () => {
  const fn3 = path.join(dataDir, 'fn3.sto');  // secondary-structure lines under rows
  await compareWithView(fn3, [], [[0, 0], [0, 13], [8 * 37, 0], [8 * 37, 15 * 9], [123, 77], [700, 300]]);
  const kinase = path.join(dataDir, 'Pkinase.sto');
  await compareWithView(kinase, ['--annotations', 'all', '--scheme', 'clustal'], [[0, 0], [91, 0], [400, 60], [91, 500]]);
});

test('opens offline, and hit agrees with cellRect over many cells', async () => {
  const file = path.join(work, 'known.html');
  render(knownFasta, '-o', file);
  const {page, outside, problems} = await open(file);
  await page.evaluate(() => window.msarender.scrollTo(2, 30));
  const results = await page.evaluate((rows, columns) => {
    const found = [];
    for (let sequence = 2; sequence < rows; sequence += 3)
      for (let column = 30; column <= columns; column += 7) {
        const r = window.msarender.cellRect(sequence, column);
        if (!r || r.bottom > window.msarender.view.getBoundingClientRect().bottom - 20) continue;
        if (r.right > window.msarender.view.getBoundingClientRect().right - 20) continue;
        const corners = [[r.left + 0.5, r.top + 0.5], [r.right - 0.5, r.bottom - 0.5],
          [r.left + r.width / 2, r.top + r.height / 2]];
        found.push({sequence, column, hits: corners.map(([x, y]) => window.msarender.hit(x, y))});
      }
    return found;
  }, rows, columns);
  assert.ok(results.length > 40, `${results.length} cells in view`);
  for (const {sequence, column, hits} of results)
    for (const hit of hits)
      assert.deepEqual(hit, {sequence, name: nameOf(sequence), column, residue: known[sequence][column - 1]});
  // Left of the first residue cell is the name; outside the view, nothing.
  const edges = await page.evaluate(() => {
    const r = window.msarender.cellRect(4, 30);
    return [window.msarender.hit(r.left - 1, r.top + 1), window.msarender.hit(-5, -5)];
  });
  assert.deepEqual(edges, [{sequence: 4, name: nameOf(4), column: null, residue: null}, null]);
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await page.close();
});

test('hover names the sequence, the column, the residue and its position', async () => {
  const {page} = await open(path.join(work, 'known.html'));
  const [sequence, column] = [5, 17];
  const r = await page.evaluate((s, c) => window.msarender.cellRect(s, c).toJSON(), sequence, column);
  await page.mouse.move(r.x + r.width / 2, r.y + r.height / 2);
  const text = await page.$eval('#msarender-hover', (element) => element.textContent);
  const residue = known[sequence][column - 1];
  const position = known[sequence].slice(0, column).replace(/-/g, '').length;
  const expected = `${nameOf(sequence)} protein ${sequence}  column ${column}  ${residue}` +
                   (residue === '-' ? '' : ` ${position}`);
  assert.equal(text, expected);
  await page.close();
});

test('hover numbers residues from the name\'s /start-end range, counting down when it does', async () => {
  const numbered = [['alpha/101-110', '--ACD-EFGHIK'], ['beta/60-51', 'AC--DEFGH-IK'], ['gamma', '-ACDEFGHI-KL']];
  const file = path.join(work, 'numbered.fa');
  fs.writeFileSync(file, numbered.map(([name, text]) => `>${name}\n${text}\n`).join(''));
  const html = path.join(work, 'numbered.html');
  render(file, '-o', html);
  const {page} = await open(html);
  const expected = {alpha: (count) => 100 + count, beta: (count) => 61 - count, gamma: (count) => count};
  for (const [sequence, [name, text]] of numbered.entries())
    for (const column of [1, 3, 5, 7, 12]) {
      const r = await page.evaluate((s, c) => window.msarender.cellRect(s, c).toJSON(), sequence, column);
      await page.mouse.move(r.x + r.width / 2, r.y + r.height / 2);
      const shown = await page.$eval('#msarender-hover', (element) => element.textContent);
      const residue = text[column - 1];
      const count = text.slice(0, column).replace(/-/g, '').length;
      const number = residue === '-' ? '' : ' ' + expected[name.split('/')[0]](count);
      assert.equal(shown, `${name}  column ${column}  ${residue}${number}`);
    }
  await page.close();
});

test('find counts motif matches across gaps and frames them', async () => {
  const {page} = await open(path.join(work, 'known.html'));
  assert.equal(await page.evaluate(() => window.msarender.find('wwh')), 3);
  assert.equal(await page.evaluate(() => window.msarender.find('W-X-H')), 3);
  assert.equal(await page.evaluate(() => window.msarender.find('W{2}H')), 3);
  assert.equal(await page.evaluate(() => window.msarender.find('seq1')), 11);  // seq1, seq10 to seq19: names
  assert.equal(await page.evaluate(() => window.msarender.find('WWHWWH')), 0);
  // The first match (row 3, columns 41 to 46) is framed in red on its left edge.
  await page.evaluate(() => window.msarender.find('WWH'));
  await page.evaluate(() => new Promise(requestAnimationFrame));
  const r = await page.evaluate(() => window.msarender.cellRect(3, 41).toJSON());
  const shot = await page.screenshot({clip: {x: r.x, y: r.y, width: 2, height: r.height}, encoding: 'base64',
                                      captureBeyondViewport: false});
  const red = await page.evaluate(async (base64) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + base64;
    await image.decode();
    const canvas = Object.assign(document.createElement('canvas'), {width: image.width, height: image.height});
    canvas.getContext('2d').drawImage(image, 0, 0);
    return [...canvas.getContext('2d').getImageData(0, Math.floor(image.height / 2), 1, 1).data.slice(0, 3)];
  }, shot);
  assert.deepEqual(red, [224, 0, 0]);
  await page.close();
});

test('links open at the named sequence and column', async () => {
  const file = path.join(work, 'known.html');
  for (const [hash, sequence] of [[`#seq=${encodeURIComponent(nameOf(9))}&col=77`, 9], ['#seq=15&col=77', 14]]) {
    const {page} = await open(file, hash);
    const first = await page.evaluate(() => {
      const view = window.msarender.view.getBoundingClientRect();
      return window.msarender.hit(view.left + window.msarender.nameWidth + 1, view.top + 1);
    });
    assert.deepEqual(first, {sequence, name: nameOf(sequence), column: 77, residue: known[sequence][76]});
    await page.close();
  }
});

test('copy gives the chosen sequences, or columns, as FASTA', async () => {
  const {page} = await open(path.join(work, 'known.html'));
  const copied = async () => page.evaluate(() => {
    let text = null;
    const listener = (event) => {
      text = event.clipboardData.getData('text/plain');
    };
    window.addEventListener('copy', listener);
    document.execCommand('copy');
    window.removeEventListener('copy', listener);
    return text;
  });
  const wrap = (text) => text.match(/.{1,60}/g).join('\n') + '\n';
  // Click the names of rows 2 and (with shift) 4.
  for (const [row, shift] of [[2, false], [4, true]]) {
    const r = await page.evaluate((row) => window.msarender.cellRect(row, 1).toJSON(), row);
    if (shift) await page.keyboard.down('Shift');
    await page.mouse.click(r.x - 10, r.y + r.height / 2);
    if (shift) await page.keyboard.up('Shift');
  }
  assert.equal(await copied(), [2, 3, 4].map((row) => `>${nameOf(row)}\n${wrap(known[row])}`).join(''));
  // Columns 3 to 5 by the ruler band, all sequences: click on nothing first to drop the rows.
  const c3 = await page.evaluate(() => window.msarender.cellRect(0, 3).toJSON());
  const c5 = await page.evaluate(() => window.msarender.cellRect(0, 5).toJSON());
  await page.mouse.click(c3.x + 2, c3.y + c3.height + 300);
  await page.mouse.click(c3.x + 2, c3.y - 4);
  await page.keyboard.down('Shift');
  await page.mouse.click(c5.x + 2, c5.y - 4);
  await page.keyboard.up('Shift');
  assert.equal(await copied(), known.map((text, row) => `>${nameOf(row)}\n${text.slice(2, 5)}\n`).join(''));
  await page.close();
});

test('hostile names are shown as text and run nothing', async () => {
  const names = ['<img src=x onerror="window.pwned=1">', '</script><script>window.pwned=2</script>',
    '"><svg onload=window.pwned=3>'];
  const file = path.join(work, 'hostile.fa');
  fs.writeFileSync(file, names.map((name) => `>${name} <b onmouseover=window.pwned=4>x</b>\nACDEFGIK\n`).join(''));
  const html = path.join(work, 'hostile.html');
  render(file, '-o', html);
  const {page, outside, problems} = await open(html);
  const state = await page.evaluate(() => ({
    pwned: typeof window.pwned,
    images: document.images.length,
    scripts: document.scripts.length,
    svgs: document.querySelectorAll('svg, b').length,
    hits: [0, 1, 2].map((row) => {
      const r = window.msarender.cellRect(row, 1);
      return window.msarender.hit(r.left + 1, r.top + 1).name;
    }),
  }));
  assert.deepEqual(state, {pwned: 'undefined', images: 0, scripts: 2, svgs: 0, hits: names.map((n) => n.split(' ')[0])});
  const r = await page.evaluate(() => window.msarender.cellRect(0, 2).toJSON());
  await page.mouse.move(r.x + 2, r.y + 2);
  assert.match(await page.$eval('#msarender-hover', (e) => e.textContent), /^<img src=x .*<b onmouseover/);
  assert.equal(await page.evaluate(() => window.pwned), undefined);
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await page.close();
});

test('a tree page draws the dendrogram left of the names, in the rows\' order, scrolling with the rows only', async () => {
  // Four of the known rows under other names; the tree puts them in the order gamma, alpha, delta, beta.
  const names = ['alpha', 'beta', 'gamma', 'delta'];
  const fasta = path.join(work, 'four.fa');
  fs.writeFileSync(fasta, names.map((name, i) => `>${name}\n${known[i]}\n`).join(''));
  const newick = path.join(work, 'four.nwk');
  fs.writeFileSync(newick, '((gamma:1,alpha:1):1,(delta:1,beta:1):1);\n');
  const order = ['gamma', 'alpha', 'delta', 'beta'];
  const html = path.join(work, 'four-tree.html');
  const png = path.join(work, 'four-tree.png');
  render(fasta, '--tree', newick, '-o', html);
  render(fasta, '--tree', newick, '-o', png);
  const {page, outside, problems} = await open(html);
  const layout = await layoutData(page);
  const {cw, ch, tops} = layout;
  const drawn = 24 * cw;  // the dendrogram's width; a cell of white follows it before the names
  assert.ok(layout.nameWidth > drawn + cw, `names column ${layout.nameWidth} wide`);

  // hit() names the rows in the tree's order, over the tree, the names and the residues.
  for (const [row, name] of order.entries()) {
    const r = await page.evaluate((row) => window.msarender.cellRect(row, 1).toJSON(), row);
    const [overTree, overName, overCell] = await page.evaluate((r) => [
      window.msarender.hit(window.msarender.view.getBoundingClientRect().left + 3, r.y + 1),
      window.msarender.hit(r.x - 2, r.y + 1), window.msarender.hit(r.x + 1, r.y + 1)], r);
    assert.deepEqual(overTree, {sequence: row, name, column: null, residue: null});
    assert.deepEqual(overName, {sequence: row, name, column: null, residue: null});
    assert.deepEqual(overCell, {sequence: row, name, column: 1, residue: known[names.indexOf(name)][0]});
  }

  // Each leaf's branch at the middle of its row, the two clades joined at half the width, the root at x = 0.
  const checkTree = (shot, scrollTop) => {
    const leafY = tops.map((top) => top - scrollTop + Math.floor(ch / 2));
    const darkNear = (xs, ys) => xs.some((x) => ys.some((y) => y >= 0 && isDark(shot.at(x, y))));
    for (const y of leafY) {
      if (y < 2) continue;  // scrolled out of the view
      assert.ok(isDark(shot.at(Math.floor(drawn * 3 / 4), y)), `leaf branch at y ${y}`);
      assert.ok(isWhite(shot.at(Math.floor(drawn * 3 / 4), y - 2)), `white above the leaf branch at y ${y}`);
      assert.ok(isWhite(shot.at(drawn + Math.floor(cw / 2), y)), `white between the tree and the names at y ${y}`);
    }
    const half = Math.floor(drawn / 2);
    for (const [upper, lower] of [[0, 1], [2, 3]]) {
      if (leafY[upper] < 0) continue;
      const joinY = Math.floor((leafY[upper] + leafY[lower]) / 2);
      assert.ok(darkNear([half - 1, half, half + 1], [leafY[upper] + 1, leafY[lower] - 1]), `clade ${upper} joined`);
      assert.ok(darkNear([Math.floor(drawn / 4)], [joinY - 1, joinY, joinY + 1]), `clade ${upper} branch at ${joinY}`);
      assert.ok(isWhite(shot.at(Math.floor(drawn / 4), leafY[upper])), `no branch at a quarter on row ${upper}`);
    }
    if (leafY[0] >= 0) assert.ok(darkNear([0, 1], [leafY[1] + 1]), 'the root joins the clades');
  };
  const top = await viewShot(page);
  checkTree(top, 0);
  // The picture draws the same tree.
  const treeBand = {a: [0, 0], b: [0, 0], width: drawn + cw, height: layout.height};
  assert.equal(await regionDifference(top.base64, fs.readFileSync(png).toString('base64'), [treeBand]), null);
  // Scrolled down a row and sideways: the tree moves up with the rows and stays put across.
  await scrollAndWait(page, 7 * cw, tops[1]);
  const scrolled = await viewShot(page);
  checkTree(scrolled, tops[1]);
  const hitTop = await page.evaluate(() => {
    const view = window.msarender.view.getBoundingClientRect();
    return window.msarender.hit(view.left + 2, view.top + 1);
  });
  assert.equal(hitTop.name, 'alpha');
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await page.close();
});

// The columns of residues `first` to `last` (counted from 1) of a known row, 0-based.
const residueColumns = (text, first, last) => {
  const at = [...text].flatMap((residue, column) => (residue === '-' ? [] : [column]));
  return [at[first - 1], at[last - 1]];
};

test('highlights, residue numbers and identities: frames over the residues, numbers in fixed columns', async () => {
  const [five0, five1] = residueColumns(known[5], 30, 40);
  const extra = ['--identity', '--residue-numbers', '--highlight', 'columns:10-20:red:loop',
    '--highlight', `seq6:30-40:blue:five`];
  const {html, png} = renderPageAndPicture('marks', knownFasta, ...extra);
  const {page, outside, problems} = await open(html);
  const layout = await layoutData(page);
  const {cw, ch, nameWidth, rightWidth, tops} = layout;
  assert.ok(rightWidth > 2 * cw, `right-hand column ${rightWidth} wide`);
  const shot = await viewShot(page);
  const red = [255, 0, 0];
  const blue = [0, 0, 255];
  // The column frame: its sides on every row, its top over the first and its bottom under the last.
  for (const top of tops) {
    assert.deepEqual(shot.at(nameWidth + 9 * cw, top + ch / 2), red, `left side at ${top}`);
    assert.deepEqual(shot.at(nameWidth + 20 * cw - 1, top + ch / 2), red, `right side at ${top}`);
  }
  assert.deepEqual(shot.at(nameWidth + 15 * cw, tops[0]), red);
  assert.deepEqual(shot.at(nameWidth + 15 * cw, tops[rows - 1] + ch - 1), red);
  // The frame of one sequence's residues 30-40 on its row only.
  assert.deepEqual(shot.at(nameWidth + five0 * cw, tops[5] + ch / 2), blue);
  assert.deepEqual(shot.at(nameWidth + (five1 + 1) * cw - 1, tops[5] + ch / 2), blue);
  assert.deepEqual(shot.at(nameWidth + five0 * cw + 2, tops[5]), blue);
  assert.notDeepEqual(shot.at(nameWidth + five0 * cw, tops[4] + ch / 2), blue);
  assert.notDeepEqual(shot.at(nameWidth + five0 * cw, tops[6] + ch / 2), blue);
  // Both labels in the line above the rows, in their frames' colours, from their frames' left sides.
  const labelled = (x, [r, g, b]) => {
    let count = 0;
    for (let dx = 0; dx < 3 * cw; ++dx)
      for (let y = tops[0] - ch; y < tops[0]; ++y) {
        const [pr, pg, pb] = shot.at(x + dx, y);
        if (Math.abs(pr - r) < 60 && Math.abs(pg - g) < 60 && Math.abs(pb - b) < 60) ++count;
      }
    return count;
  };
  assert.ok(labelled(nameWidth + 9 * cw, red) > 5, 'the label of the column frame');
  assert.ok(labelled(nameWidth + five0 * cw, blue) > 5, 'the label of the sequence\'s frame');
  // Identities and line-end numbers right of the residues, on every row; the left numbers before them.
  const right = layout.viewWidth - rightWidth;
  for (const top of tops) {
    let dark = 0;
    for (let x = right; x < layout.viewWidth; ++x)
      for (let y = top; y < top + ch; ++y) dark += isDark(shot.at(x, y));
    assert.ok(dark > 10, `numbers right of the row at ${top}`);
  }
  const rightOver = await page.evaluate((x, y) => {
    const view = window.msarender.view.getBoundingClientRect();
    return window.msarender.hit(view.left + x, view.top + y);
  }, right + 2, tops[7] + 2);
  assert.deepEqual(rightOver, {sequence: 7, name: nameOf(7), column: null, residue: null});
  // As the picture draws them: the rows' residues with the frames and labels, and the right-hand column.
  const picture = fs.readFileSync(png).toString('base64');
  const labelTop = tops[0] - ch;
  const residuesWidth = right - nameWidth;
  const regions = [
    {a: [nameWidth, labelTop], b: [nameWidth, labelTop], width: residuesWidth, height: layout.height - labelTop},
    {a: [right, 0], b: [nameWidth + layout.columns * cw, 0], width: rightWidth, height: layout.height}];
  assert.equal(await regionDifference(shot.base64, picture, regions), null);
  // The picture's gutter keeps each line's first number off its residues: white the last cell of the names.
  for (const top of tops)
    for (let x = nameWidth - cw; x < nameWidth; ++x)
      for (let y = top; y < top + ch; ++y) assert.ok(isWhite(shot.at(x, y)), `ink at (${x}, ${y}) beside the residues`);
  // Scrolled sideways, the right-hand column and the names with their numbers stay; the frame moves.
  await scrollAndWait(page, 5 * cw, 0);
  const scrolled = await viewShot(page);
  const fixed = [{a: [right, 0], b: [right, 0], width: rightWidth, height: layout.height},
    {a: [0, 0], b: [0, 0], width: nameWidth, height: layout.height}];
  assert.equal(await regionDifference(scrolled.base64, shot.base64, fixed), null);
  assert.deepEqual(scrolled.at(nameWidth + 4 * cw, tops[3] + ch / 2), red);
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await page.close();
});

test('a reference page shows dots as the picture does and still answers with the residues', async () => {
  const {html, png} = renderPageAndPicture('reference', knownFasta, '--reference', 'seq3');
  const {page, outside, problems} = await open(html);
  const layout = await layoutData(page);
  const {cw, ch, nameWidth, tops} = layout;
  const order = [2, ...[...Array(rows).keys()].filter((row) => row !== 2)];  // the reference first
  const shot = await viewShot(page);
  const rowsArea = {a: [nameWidth, tops[0]], b: [nameWidth + cw, tops[0]], width: layout.viewWidth - nameWidth,
                    height: layout.height - tops[0]};
  assert.equal(await regionDifference(shot.base64, fs.readFileSync(png).toString('base64'), [rowsArea]), null);
  // A residue equal to the reference's is a dot in its cell, unlike the reference's own letter.
  const same = [...known[0]].findIndex((residue, column) => residue !== '-' && residue === known[2][column] && column < 40);
  assert.ok(same >= 0);
  let differs = false;
  for (let x = 0; x < cw && !differs; ++x)
    for (let y = 0; y < ch && !differs; ++y)
      differs = String(shot.at(nameWidth + same * cw + x, tops[1] + y)) !== String(shot.at(nameWidth + same * cw + x, tops[0] + y));
  assert.ok(differs, 'a dotted cell looks like the reference\'s letter');
  const hits = await page.evaluate((columns) => columns.map((column) => {
    const r = window.msarender.cellRect(1, column);
    return window.msarender.hit(r.left + 1, r.top + 1);
  }), [same + 1, same + 2, same + 3]);
  assert.deepEqual(hits.map((hit) => hit.residue), [...known[order[1]].slice(same, same + 3)]);
  assert.deepEqual(hits.map((hit) => hit.name), [nameOf(order[1]), nameOf(order[1]), nameOf(order[1])]);
  const motif = known[0].replace(/-/g, '').slice(0, 12);
  assert.ok(await page.evaluate((motif) => window.msarender.find(motif), motif) >= 1);
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await page.close();
});

test('a wrapped page equals --view in every block and answers, finds, links and picks there', async () => {
  // Views that end before their blocks do: past a block's end a view scrolled sideways runs on into the next
  // block's columns, and the page's block (the picture's) stops.
  await compareWithView(path.join(dataDir, 'Pkinase.sto'), ['--wrap', '100'],
                        [[0, 0], [0, 700], [200, 733], [96, 2500], [0, 3300]]);
  // Blocks of 42 columns: the motif of row 3 (columns 41 to 46) crosses from the first block to the second.
  const file = path.join(work, 'known-wrapped.html');
  render(knownFasta, '--wrap', '42', '-o', file);
  const {page, outside, problems} = await open(file);
  const cellHit = (sequence, column) => page.evaluate((s, c) => {
    const r = window.msarender.cellRect(s, c);
    return window.msarender.hit(r.left + r.width / 2, r.top + r.height / 2);
  }, sequence, column);
  const topLeft = () => page.evaluate(() => {
    const view = window.msarender.view.getBoundingClientRect();
    return window.msarender.hit(view.left + window.msarender.nameWidth + 1, view.top + 1);
  });
  const cellOf = (sequence, column) => ({sequence, name: nameOf(sequence), column, residue: known[sequence][column - 1]});
  for (const [sequence, column] of [[3, 42], [3, 43], [11, 101], [23, 160], [0, 127]]) {
    await page.evaluate((s, c) => window.msarender.scrollTo(s, c), sequence, column);
    assert.deepEqual(await cellHit(sequence, column), cellOf(sequence, column));
    // The block stays put: its line is at the top, from the block's first column on.
    const blockFirst = Math.floor((column - 1) / 42) * 42 + 1;
    assert.deepEqual(await topLeft(), cellOf(sequence, blockFirst));
  }
  // Past a short last block's end there is no cell.
  const beyond = await page.evaluate(() => {
    const r = window.msarender.cellRect(23, 160);
    return window.msarender.hit(r.right + 3, r.top + 2);
  });
  assert.equal(beyond, null);

  // The match is framed on both of its lines: from its first column, and from the second block's first.
  assert.equal(await page.evaluate(() => window.msarender.find('WWH')), 3);
  await page.evaluate(() => window.msarender.scrollTo(3, 41));
  const shot = await viewShot(page);
  const view = await page.evaluate(() => window.msarender.view.getBoundingClientRect().toJSON());
  const leftEdge = async (sequence, column) => {
    const r = await page.evaluate((s, c) => window.msarender.cellRect(s, c).toJSON(), sequence, column);
    return shot.at(r.x - view.x, r.y - view.y + r.height / 2);
  };
  assert.deepEqual(await leftEdge(3, 41), [224, 0, 0]);
  assert.deepEqual(await leftEdge(3, 43), [224, 0, 0]);
  assert.notDeepEqual(await leftEdge(2, 43), [224, 0, 0]);

  // The names column, sent once for the blocks alike, stands beside every block.
  const blockTops = await page.evaluate(() =>
    JSON.parse(document.getElementById('msarender-data').textContent).blocks.filter((_, i) => i % 3 === 0));
  const layout = await layoutData(page);
  await scrollAndWait(page, 0, blockTops[1]);
  const second = await viewShot(page);
  await scrollAndWait(page, 0, blockTops[2]);
  const third = await viewShot(page);
  const namesHeight = Math.min(third.height, 2 * (blockTops[2] - blockTops[1]));
  assert.equal(await regionDifference(second.base64, third.base64,
                                      [{a: [0, 0], b: [0, 0], width: layout.nameWidth, height: namesHeight}]), null);
  const firstRowTop = await page.evaluate(() =>
    window.msarender.cellRect(0, 90).top - window.msarender.view.getBoundingClientRect().top);
  let inked = false;  // and it is not blank: the first row's name is there
  for (let x = 0; x < layout.nameWidth && !inked; ++x)
    for (let y = firstRowTop; y < firstRowTop + layout.ch && !inked; ++y) inked = isDark(third.at(x, y));
  assert.ok(inked, 'no name beside the third block\'s first row');
  // Clicking the third block's ruler band picks its columns.
  const c90 = await page.evaluate(() => window.msarender.cellRect(0, 90).toJSON());
  const c92 = await page.evaluate(() => window.msarender.cellRect(0, 92).toJSON());
  await page.mouse.click(c90.x + 2, c90.y - 4);
  await page.keyboard.down('Shift');
  await page.mouse.click(c92.x + 2, c92.y - 4);
  await page.keyboard.up('Shift');
  assert.equal(await page.evaluate(() => window.msarender.selectionFasta()),
               known.map((text, row) => `>${nameOf(row)}\n${text.slice(89, 92)}\n`).join(''));
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await page.close();

  const linked = await open(file, '#seq=12&col=102');
  assert.deepEqual(await linked.page.evaluate(() => {
    const view = window.msarender.view.getBoundingClientRect();
    return window.msarender.hit(view.left + window.msarender.nameWidth + 1, view.top + 1);
  }), cellOf(11, 85));
  await linked.page.close();
});

test('a page whose ruler numbers the reference\'s residues names, finds and links columns by them', async () => {
  const reference = 3;  // its gaps have no number
  const numberOf = [];
  let count = 0;
  for (const residue of known[reference]) numberOf.push(residue === '-' ? null : ++count);
  const html = path.join(work, 'ruler-by-reference.html');
  render(knownFasta, '--reference', nameOf(reference), '--reference-in-place', '--ruler-by-reference', '-o', html);
  const {page, outside, problems} = await open(html);
  const sequence = 6;
  const hits = await page.evaluate((sequence, numbers) => numbers.map((number) => {
    const r = window.msarender.cellRect(sequence, number);
    return r && window.msarender.hit(r.left + r.width / 2, r.top + r.height / 2);
  }), sequence, [1, 2, 30, 60]);
  assert.deepEqual(hits, [1, 2, 30, 60].map((number) => {
    const column = numberOf.indexOf(number);
    return {sequence, name: nameOf(sequence), column: number, residue: known[sequence][column]};
  }));
  // Over a gap of the reference the hover says it has no number.
  const gap = numberOf.findIndex((number, column) => number === null && column > 0 && numberOf[column - 1] !== null);
  const before = numberOf[gap - 1];
  const r = await page.evaluate((s, n) => window.msarender.cellRect(s, n).toJSON(), sequence, before);
  await page.mouse.move(r.x + r.width * 1.5, r.y + r.height / 2);
  assert.match(await page.$eval('#msarender-hover', (e) => e.textContent), / no column number /);
  assert.equal((await page.evaluate((x, y) => window.msarender.hit(x, y), r.x + r.width * 1.5, r.y + 2)).column, null);
  await page.close();
  const linked = await open(html, '#seq=7&col=30');
  const first = await linked.page.evaluate(() => {
    const view = window.msarender.view.getBoundingClientRect();
    return window.msarender.hit(view.left + window.msarender.nameWidth + 1, view.top + 1);
  });
  assert.deepEqual(first, {sequence, name: nameOf(sequence), column: 30, residue: known[sequence][numberOf.indexOf(30)]});
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await linked.page.close();
});

test('a page of chosen columns shows the picture\'s cells and numbers, finds and links by the alignment\'s columns', async () => {
  const chosen = [...Array(31).keys()].map((i) => 30 + i).concat([...Array(21).keys()].map((i) => 100 + i));
  const {html, png} = renderPageAndPicture('columns', knownFasta, '--columns', '30-60,100-120');
  const {page, outside, problems} = await open(html);
  const layout = await layoutData(page);
  const {cw, nameWidth, tops} = layout;
  assert.equal(layout.columns, chosen.length);
  const shot = await viewShot(page);
  const rowsArea = {a: [nameWidth, tops[0]], b: [nameWidth + cw, tops[0]], width: chosen.length * cw,
                    height: layout.height - tops[0]};
  assert.equal(await regionDifference(shot.base64, fs.readFileSync(png).toString('base64'), [rowsArea]), null);
  // Hits and the hover name the alignment's columns, and residues by their number in the whole sequence.
  const sequence = 5;
  for (const column of [30, 60, 100, 117]) {
    const r = await page.evaluate((s, c) => window.msarender.cellRect(s, c).toJSON(), sequence, column);
    const residue = known[sequence][column - 1];
    assert.deepEqual(await page.evaluate((x, y) => window.msarender.hit(x, y), r.x + 2, r.y + 2),
                     {sequence, name: nameOf(sequence), column, residue});
    await page.mouse.move(r.x + r.width / 2, r.y + r.height / 2);
    const position = known[sequence].slice(0, column).replace(/-/g, '').length;
    assert.equal(await page.$eval('#msarender-hover', (e) => e.textContent),
                 `${nameOf(sequence)} protein ${sequence}  column ${column}  ${residue}` + (residue === '-' ? '' : ` ${position}`));
  }
  assert.equal(await page.evaluate((s) => window.msarender.cellRect(s, 61), sequence), null);  // left out
  // Of the planted motifs, those inside the chosen columns are found; none is made across the break.
  assert.equal(await page.evaluate(() => window.msarender.find('WWH')), 2);
  const ungapped = (row, from, to) => known[row].slice(from - 1, to).replace(/-/g, '');
  const across = ungapped(0, 30, 60).slice(-2) + ungapped(0, 100, 120).slice(0, 2);
  const runs = known.map((_, row) => [ungapped(row, 30, 60), ungapped(row, 100, 120)]).flat();
  const expected = runs.reduce((n, text) => n + [...text.matchAll(new RegExp(across, 'g'))].length, 0);
  assert.equal(await page.evaluate((motif) => window.msarender.find(motif), across), expected);
  await page.close();
  const linked = await open(html, '#seq=6&col=105');
  assert.deepEqual(await linked.page.evaluate(() => {
    const view = window.msarender.view.getBoundingClientRect();
    return window.msarender.hit(view.left + window.msarender.nameWidth + 1, view.top + 1);
  }), {sequence, name: nameOf(sequence), column: 105, residue: known[sequence][104]});
  assert.deepEqual(outside, []);
  assert.deepEqual(problems, []);
  await linked.page.close();
});

test('a page whose cells take several data blocks reads every cell back', async () => {
  // 2,000 x 800 random residues: more than one block of the cells' base64.
  const [count, width] = [2000, 800];
  let state = 11;
  const big = [];
  for (let row = 0; row < count; ++row) {
    let text = '';
    for (let column = 0; column < width; ++column) {
      state = (Math.imul(state, 1664525) + 1013904223) >>> 0;
      text += 'ACDEFGHIKLMNPQRSTVWY-'[Math.floor((state / 4294967296) * 21)];
    }
    big.push(text);
  }
  const fasta = path.join(work, 'blocks.fa');
  fs.writeFileSync(fasta, big.map((text, row) => `>r${row}\n${text}\n`).join(''));
  const html = path.join(work, 'blocks.html');
  render(fasta, '-o', html);
  assert.ok(fs.readFileSync(html, 'latin1').split('class="msarender-cells"').length - 1 >= 2, 'one block only');
  const {page, problems} = await open(html);
  for (const row of [0, 777, count - 1])
    for (const column of [1, 333, width]) {
      const hit = await page.evaluate((row, column) => {
        window.msarender.scrollTo(row, column);
        const r = window.msarender.cellRect(row, column);
        return window.msarender.hit(r.left + 1, r.top + 1);
      }, row, column);
      assert.deepEqual(hit, {sequence: row, name: `r${row}`, column, residue: big[row][column - 1]});
    }
  const tail = big[count - 1].replace(/-/g, '').slice(-14);
  assert.ok(await page.evaluate((tail) => window.msarender.find(tail), tail) >= 1);
  assert.deepEqual(problems, []);
  await page.close();
});
