// The peer of the service benchmark: simpleMethod served by the npm package soap, from the WSDL
// that tarvelo-service itself publishes, behind the same HTTP Basic credentials.
//   node server.js WSDL_URL [PORT]
// Prints "peer listening on URL" once it listens on 127.0.0.1 (PORT 0 or none: any free port).
'use strict';

const http = require('http');
const soap = require('soap');

const [wsdlUrl, portText = '0'] = process.argv.slice(2);
if (!wsdlUrl) {
  console.error('usage: node server.js WSDL_URL [PORT]');
  process.exit(2);
}
const expected = 'Basic ' + Buffer.from('tolvex:kqv=47').toString('base64');

function simpleMethod(args) {
  return { simpleMethodResult: 'Hello ' + (args.srt ?? '') };
}
const service = {
  Service: {
    ServiceSoap: { simpleMethod },
    ServiceSoap12: { simpleMethod },
  },
};

function fetchText(url) {
  return new Promise((resolve, reject) => {
    http
      .get(url, (res) => {
        let text = '';
        res.setEncoding('utf8');
        res.on('data', (chunk) => (text += chunk));
        res.on('end', () =>
          res.statusCode === 200 ? resolve(text) : reject(new Error(`${url}: ${res.statusCode}`)),
        );
      })
      .on('error', reject);
  });
}

async function main() {
  const wsdl = await fetchText(wsdlUrl);
  // The SOAP server answers on an inner server that never listens; the outer one checks the
  // credentials of every call first, as tarvelo-service does.
  const inner = http.createServer();
  soap.listen(inner, '/Service.asmx', service, wsdl);
  const outer = http.createServer((req, res) => {
    if (req.method === 'POST' && req.headers.authorization !== expected) {
      res.writeHead(401, {
        'WWW-Authenticate': 'Basic realm="tarvelo"',
        'Content-Type': 'text/plain; charset=utf-8',
      });
      res.end('The user name or the password is wrong\n');
      req.resume();
      return;
    }
    inner.emit('request', req, res);
  });
  outer.keepAliveTimeout = 5000;
  outer.listen(Number(portText), '127.0.0.1', () => {
    const { port } = outer.address();
    console.log(`peer listening on http://127.0.0.1:${port}/Service.asmx`);
  });
  const stop = () => outer.close(() => process.exit(0));
  process.on('SIGTERM', stop);
  process.on('SIGINT', stop);
}

main().catch((error) => {
  console.error(`peer: ${error.message}`);
  process.exit(1);
});
