{ Makes Free Pascal compute and print as the script language does.

  The generator (scripts/regen-differential.sh) wraps every case of the corpus in a program that
  uses this unit last, so the names declared here hide the like-named ones of System, SysUtils and
  Math:
  - Print and PrintLn with the script language's text forms; FloatToStr gives the text Print gives;
  - Float is the 64-bit Double (Math's Float is the 80-bit Extended on x86-64);
  - the elementary functions return Doubles, with the values of the C library: Free Pascal
    computes them on the x87 unit or by formulas that lose the last bits, which shows in the 15th
    printed digit of up to a few values in a hundred. Free Pascal's own routine is called first for its
    exceptions (domain errors, overflow), so a case keeps Free Pascal's behaviour for bad
    arguments. Functions that the C library lacks are written as the obvious formula of the ones
    it has (Cotan = 1 / tan, LogN = ln x / ln base, DegToRad = x * (pi / 180));
  - StrToFloat and StrToFloatDef take their values from the C library's correctly rounded
    strtod, for the same reason;
  - DecodeDate and DecodeTime take Integer variables, as the script language has no Word type. }
unit prelude;

{$mode delphi}{$H+}

interface

uses SysUtils;

type
  Float = Double;

function FloatText(v: Double): string;
function FloatToStr(v: Double): string;

procedure Print(v: Int64); overload;
procedure Print(v: Double); overload;
procedure Print(const v: string); overload;
procedure Print(v: Boolean); overload;
procedure PrintLn(v: Int64); overload;
procedure PrintLn(v: Double); overload;
procedure PrintLn(const v: string); overload;
procedure PrintLn(v: Boolean); overload;

procedure DecodeDate(const dt: TDateTime; var year, month, day: Integer);
procedure DecodeTime(const dt: TDateTime; var hour, minute, second, msec: Integer);

function StrToFloat(const s: string): Double;
function StrToFloatDef(const s: string; default: Double): Double;

function Pi: Double;
function Sqrt(x: Double): Double;
function Exp(x: Double): Double;
function Ln(x: Double): Double;
function Log10(x: Double): Double;
function Log2(x: Double): Double;
function LogN(base, x: Double): Double;
function Power(base, exponent: Double): Double;
function Sin(x: Double): Double;
function Cos(x: Double): Double;
function Tan(x: Double): Double;
function Cotan(x: Double): Double;
function ArcSin(x: Double): Double;
function ArcCos(x: Double): Double;
function ArcTan(x: Double): Double;
function Sinh(x: Double): Double;
function Cosh(x: Double): Double;
function Tanh(x: Double): Double;
function ArcSinh(x: Double): Double;
function ArcCosh(x: Double): Double;
function ArcTanh(x: Double): Double;
function Hypot(x, y: Double): Double;
function DegToRad(x: Double): Double;
function RadToDeg(x: Double): Double;

implementation

uses Math;

function c_sqrt(x: Double): Double; cdecl; external 'm' name 'sqrt';
function c_exp(x: Double): Double; cdecl; external 'm' name 'exp';
function c_log(x: Double): Double; cdecl; external 'm' name 'log';
function c_log10(x: Double): Double; cdecl; external 'm' name 'log10';
function c_log2(x: Double): Double; cdecl; external 'm' name 'log2';
function c_pow(x, y: Double): Double; cdecl; external 'm' name 'pow';
function c_sin(x: Double): Double; cdecl; external 'm' name 'sin';
function c_cos(x: Double): Double; cdecl; external 'm' name 'cos';
function c_tan(x: Double): Double; cdecl; external 'm' name 'tan';
function c_asin(x: Double): Double; cdecl; external 'm' name 'asin';
function c_acos(x: Double): Double; cdecl; external 'm' name 'acos';
function c_atan(x: Double): Double; cdecl; external 'm' name 'atan';
function c_sinh(x: Double): Double; cdecl; external 'm' name 'sinh';
function c_cosh(x: Double): Double; cdecl; external 'm' name 'cosh';
function c_tanh(x: Double): Double; cdecl; external 'm' name 'tanh';
function c_asinh(x: Double): Double; cdecl; external 'm' name 'asinh';
function c_acosh(x: Double): Double; cdecl; external 'm' name 'acosh';
function c_atanh(x: Double): Double; cdecl; external 'm' name 'atanh';
function c_hypot(x, y: Double): Double; cdecl; external 'm' name 'hypot';

const
  PiDouble: Double = 3.141592653589793;

function Pi: Double;
begin
  Result := PiDouble;
end;

function Sqrt(x: Double): Double;
begin
  Result := System.Sqrt(x);
  Result := c_sqrt(x);
end;

function Exp(x: Double): Double;
begin
  Result := System.Exp(x);
  Result := c_exp(x);
end;

function Ln(x: Double): Double;
begin
  Result := System.Ln(x);
  Result := c_log(x);
end;

function Log10(x: Double): Double;
begin
  Result := Math.Log10(x);
  Result := c_log10(x);
end;

function Log2(x: Double): Double;
begin
  Result := Math.Log2(x);
  Result := c_log2(x);
end;

function LogN(base, x: Double): Double;
begin
  Result := Math.LogN(base, x);
  Result := c_log(x) / c_log(base);
end;

function Power(base, exponent: Double): Double;
begin
  Result := Math.Power(base, exponent);
  Result := c_pow(base, exponent);
end;

function Sin(x: Double): Double;
begin
  Result := c_sin(x);
end;

function Cos(x: Double): Double;
begin
  Result := c_cos(x);
end;

function Tan(x: Double): Double;
begin
  Result := c_tan(x);
end;

function Cotan(x: Double): Double;
begin
  Result := 1 / c_tan(x);
end;

function ArcSin(x: Double): Double;
begin
  Result := Math.ArcSin(x);
  Result := c_asin(x);
end;

function ArcCos(x: Double): Double;
begin
  Result := Math.ArcCos(x);
  Result := c_acos(x);
end;

function ArcTan(x: Double): Double;
begin
  Result := c_atan(x);
end;

function Sinh(x: Double): Double;
begin
  Result := Math.Sinh(x);
  Result := c_sinh(x);
end;

function Cosh(x: Double): Double;
begin
  Result := Math.Cosh(x);
  Result := c_cosh(x);
end;

function Tanh(x: Double): Double;
begin
  Result := c_tanh(x);
end;

function ArcSinh(x: Double): Double;
begin
  Result := c_asinh(x);
end;

function ArcCosh(x: Double): Double;
begin
  Result := Math.ArcCosh(x);
  Result := c_acosh(x);
end;

function ArcTanh(x: Double): Double;
begin
  Result := Math.ArcTanh(x);
  Result := c_atanh(x);
end;

function Hypot(x, y: Double): Double;
begin
  Result := c_hypot(x, y);
end;

function DegToRad(x: Double): Double;
begin
  Result := x * (PiDouble / 180);
end;

function RadToDeg(x: Double): Double;
begin
  Result := x * (180 / PiDouble);
end;

function snprintf(buf: PAnsiChar; size: SizeUInt; fmt: PAnsiChar): LongInt; cdecl; varargs;
  external 'c' name 'snprintf';
function strtod(s: PAnsiChar; endp: PPAnsiChar): Double; cdecl; external 'c' name 'strtod';

const
  MinNormal = 2.2250738585072014E-308;

{ The text of FloatToStr (general format, 15 significant digits), with the digits rounded
  correctly. FloatToStr rounds a 17-digit intermediate a second time, which turns about one value
  in two hundred the wrong way; so the value is first rounded to 15 digits by the C library and
  FloatToStr only lays out a number that has at most 15 digits. A subnormal value may not survive
  that round trip, so its text, always in the exponent form, is laid out here from the C
  library's digits. }
function FloatText(v: Double): string;
var
  buf: array[0..63] of AnsiChar;
  s, mantissa: string;
  p: Integer;
begin
  snprintf(@buf[0], SizeOf(buf), '%.14e', v);
  if (v = 0) or (Abs(v) >= MinNormal) then
    Exit(SysUtils.FloatToStr(strtod(@buf[0], nil)));
  s := string(PAnsiChar(@buf[0]));
  p := Pos('e', s);
  mantissa := Copy(s, 1, p - 1);
  while mantissa[Length(mantissa)] = '0' do
    Delete(mantissa, Length(mantissa), 1);
  if mantissa[Length(mantissa)] = '.' then
    Delete(mantissa, Length(mantissa), 1);
  Result := mantissa + 'E' + IntToStr(StrToInt(Copy(s, p + 1, 10)));
end;

function StrToFloat(const s: string): Double;
begin
  Result := SysUtils.StrToFloat(s);
  Result := strtod(PAnsiChar(AnsiString(s)), nil);
end;

function StrToFloatDef(const s: string; default: Double): Double;
begin
  if SysUtils.TryStrToFloat(s, Result) then
    Result := strtod(PAnsiChar(AnsiString(s)), nil)
  else
    Result := default;
end;

function FloatToStr(v: Double): string;
begin
  Result := FloatText(v);
end;

procedure Print(v: Int64);
begin
  Write(IntToStr(v));
end;

procedure Print(v: Double);
begin
  Write(FloatText(v));
end;

procedure Print(const v: string);
begin
  Write(v);
end;

procedure Print(v: Boolean);
begin
  if v then
    Write('True')
  else
    Write('False');
end;

procedure PrintLn(v: Int64);
begin
  Print(v);
  Write(#13#10);
end;

procedure PrintLn(v: Double);
begin
  Print(v);
  Write(#13#10);
end;

procedure PrintLn(const v: string);
begin
  Print(v);
  Write(#13#10);
end;

procedure PrintLn(v: Boolean);
begin
  Print(v);
  Write(#13#10);
end;

procedure DecodeDate(const dt: TDateTime; var year, month, day: Integer);
var
  y, m, d: Word;
begin
  SysUtils.DecodeDate(dt, y, m, d);
  year := y;
  month := m;
  day := d;
end;

procedure DecodeTime(const dt: TDateTime; var hour, minute, second, msec: Integer);
var
  h, n, s, z: Word;
begin
  SysUtils.DecodeTime(dt, h, n, s, z);
  hour := h;
  minute := n;
  second := s;
  msec := z;
end;

initialization
  DefaultFormatSettings.DecimalSeparator := '.';
  DefaultFormatSettings.ThousandSeparator := ' ';
  DefaultFormatSettings.TimeSeparator := ':';
end.
