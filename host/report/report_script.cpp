#include "report_script.hpp"

namespace tl::report {

const std::string_view kReportScript = R"js(
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('report-data').textContent);
  var palette = ['#4e79a7', '#f28e2b', '#e15759', '#76b7b2', '#59a14f',
                 '#edc948', '#b07aa1', '#ff9da7', '#9c755f', '#bab0ac'];
  if (typeof Chart === 'undefined') {
    document.body.dataset.charts = 'missing';
    return;
  }
  Chart.defaults.animation = false;
  Chart.defaults.font.family = "'DejaVu Sans', 'Segoe UI', Arial, sans-serif";
  var drawn = 0;
  data.charts.forEach(function (c) {
    var colour = function (i) { return palette[i % palette.length]; };
    new Chart(document.getElementById(c.id + '-line'), {
      type: 'line',
      data: {
        labels: c.labels,
        datasets: c.series.map(function (s, i) {
          return { label: s.label, data: s.values, borderColor: colour(i), backgroundColor: colour(i),
                   borderWidth: 1.5, pointRadius: c.labels.length > 48 ? 0 : 2, spanGaps: false };
        })
      },
      options: {
        responsive: true, maintainAspectRatio: false,
        interaction: { mode: 'index', intersect: false },
        scales: { x: { ticks: { maxTicksLimit: 6, maxRotation: 0 } },
                  y: { title: { display: true, text: 'Value0 + Value1' } } },
        plugins: { legend: { position: 'right' },
                   tooltip: { callbacks: { label: function (item) {
                     return c.series[item.datasetIndex].name + ': ' + item.formattedValue; } } } }
      }
    });
    new Chart(document.getElementById(c.id + '-share'), {
      type: 'doughnut',
      data: {
        labels: c.series.map(function (s) { return s.label; }),
        datasets: [{ data: c.series.map(function (s) { return s.total; }),
                     backgroundColor: c.series.map(function (s, i) { return colour(i); }) }]
      },
      options: { responsive: true, maintainAspectRatio: false,
                 plugins: { legend: { position: 'right' },
                            tooltip: { callbacks: { label: function (item) {
                              return c.series[item.dataIndex].name + ': ' + item.formattedValue; } } } } }
    });
    drawn += 2;
  });
  document.body.dataset.charts = String(drawn);
})();
)js";

const std::string_view kReportStyle = R"css(
body { font-family: 'DejaVu Sans', 'Segoe UI', Arial, sans-serif; margin: 24px; color: #222; max-width: 1280px; }
h1 { font-size: 24px; margin-bottom: 4px; }
h2 { font-size: 20px; border-bottom: 2px solid #4e79a7; padding-bottom: 4px; margin-top: 36px; }
h3 { font-size: 16px; margin-top: 24px; }
.meta { color: #666; font-size: 13px; }
.charts { display: flex; gap: 16px; flex-wrap: wrap; }
.charts figure { margin: 0; }
.chart-line { position: relative; height: 300px; width: 860px; }
.chart-share { position: relative; height: 300px; width: 360px; }
figcaption { font-size: 12px; color: #555; text-align: center; }
table { border-collapse: collapse; font-size: 12px; margin: 8px 0; }
th, td { border: 1px solid #ccc; padding: 2px 6px; }
th { background: #eef2f7; }
td.n { text-align: right; font-variant-numeric: tabular-nums; }
pre { background: #f6f6f6; padding: 6px; font-size: 12px; white-space: pre-wrap; }
.incomplete td { background: #fff4e5; }
details summary { cursor: pointer; font-size: 13px; }
)css";

} // namespace tl::report
