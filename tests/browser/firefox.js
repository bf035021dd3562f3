// Debian's Firefox ESR, headless, driven by puppeteer-core over WebDriver
// BiDi, behind the few calls of Playwright's page that the browser tests
// make, so that the same tests run in both browsers.
export const firefoxPath = process.env.FIREFOX || '/usr/bin/firefox-esr';

// Waits until the page has handled what was sent to it: BiDi's input
// actions return once dispatched, not once the page's handlers have run.
const settled = (page) => page.evaluate(() => new Promise((done) => {
  requestAnimationFrame(() => setTimeout(done, 0));
}));

function wrap(page) {
  const keyboard = {
    press: async (key) => {
      await page.keyboard.press(key);
      await settled(page);
    },
  };
  const mouse = {
    move: (x, y) => page.mouse.move(x, y),
    down: () => page.mouse.down(),
    up: async () => {
      await page.mouse.up();
      await settled(page);
    },
  };
  return {
    goto: (url) => page.goto(url),
    url: () => page.url(),
    close: () => page.close(),
    keyboard,
    mouse,
    evaluate: (action, argument) => page.evaluate(action, argument),
    $eval: (selector, action, argument) => page.$eval(selector, action, argument),
    $$eval: (selector, action, argument) => page.$$eval(selector, action, argument),
    waitForSelector: (selector) => page.waitForSelector(selector),
    waitForFunction: (action, argument) => page.waitForFunction(action, {}, argument),
    waitForURL: (pattern) => page.waitForFunction((source) => new RegExp(source).test(location.href),
      {}, pattern.source),
    textContent: (selector) => page.$eval(selector, (element) => element.textContent),
    getAttribute: (selector, name) => page.$eval(selector, (element, attribute) =>
      element.getAttribute(attribute), name),
    click: async (selector) => {
      await page.click(selector);
      await settled(page);
    },
    fill: async (selector, value) => {
      await page.$eval(selector, (element) => { element.value = ''; });
      await page.type(selector, value);
    },
    // Chosen as a person chooses it: the select's input and change events.
    selectOption: async (selector, value) => {
      await page.select(selector, value);
      await settled(page);
    },
    press: async (selector, key) => {
      await page.focus(selector);
      await keyboard.press(key);
    },
    locator: (selector) => ({
      boundingBox: async () => (await page.$(selector)).boundingBox(),
      fill: async (value) => {
        await page.$eval(selector, (element, text) => {
          element.value = text;
          element.dispatchEvent(new Event('input'));
        }, value);
      },
    }),
    setViewportSize: (size) => page.setViewport(size),
    on: (event, listener) => {
      if (event === 'console') {
        // Playwright calls a warning 'warning', puppeteer 'warn'.
        page.on('console', (message) => listener({
          type: () => (message.type() === 'warn' ? 'warning' : message.type()),
          text: () => message.text(),
        }));
      } else {
        page.on(event, listener);
      }
    },
  };
}

// Firefox, its pages asking for `locale` first (a language tag), then
// for its language alone.
export async function launchFirefox(locale = 'en-US') {
  const puppeteer = (await import('puppeteer-core')).default;
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: firefoxPath, headless: true,
    extraPrefsFirefox: {
      // No updates, telemetry or other traffic of its own.
      'app.update.enabled': false, 'datareporting.policy.dataSubmissionEnabled': false,
      'network.captive-portal-service.enabled': false, 'browser.safebrowsing.malware.enabled': false,
      // The languages its pages ask for, as navigator.languages gives them.
      'intl.accept_languages': `${locale}, ${locale.split('-')[0]}`,
    },
  });
  return {
    newPage: async ({ viewport, deviceScaleFactor, hasTouch, isMobile } = {}) => {
      const page = await browser.newPage();
      if (viewport) await page.setViewport({ ...viewport, deviceScaleFactor, hasTouch, isMobile });
      return wrap(page);
    },
    close: () => browser.close(),
  };
}
