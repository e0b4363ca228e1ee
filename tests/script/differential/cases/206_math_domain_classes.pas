// Arguments outside a function's domain: the class and the text of each error.
procedure Attempt(const name: string; code: Integer);
var x: Float;
begin
  x := 0;
  try
    case code of
      1: x := ArcCos(2);
      2: x := ArcSin(-1.5);
      3: x := ArcCosh(0.5);
      4: x := ArcTanh(1);
      5: x := ArcTanh(-1);
      6: x := ArcTanh(2);
      7: x := Log10(0);
      8: x := Log10(-1);
      9: x := Log2(0);
      10: x := Log2(-1);
      11: x := LogN(2, 0);
      12: x := LogN(2, -1);
      13: x := LogN(1, 5);
      14: x := LogN(1, 1);
      15: x := LogN(-2, 5);
      16: x := LogN(0, 5);
      17: x := Cotan(0);
      18: x := Sinh(1000);
      19: x := Sinh(-1000);
      20: x := Cosh(1000);
      21: x := Exp(1000);
      22: x := Power(0, -1);
      23: x := Ln(0);
      24: x := Sqrt(-0.5);
    end;
    PrintLn(name + ' = ' + FloatToStr(x));
  except
    on E: Exception do PrintLn(name + ': ' + E.ClassName + ' ' + E.Message);
  end;
end;

begin
  Attempt('ArcCos(2)', 1);
  Attempt('ArcSin(-1.5)', 2);
  Attempt('ArcCosh(0.5)', 3);
  Attempt('ArcTanh(1)', 4);
  Attempt('ArcTanh(-1)', 5);
  Attempt('ArcTanh(2)', 6);
  Attempt('Log10(0)', 7);
  Attempt('Log10(-1)', 8);
  Attempt('Log2(0)', 9);
  Attempt('Log2(-1)', 10);
  Attempt('LogN(2,0)', 11);
  Attempt('LogN(2,-1)', 12);
  Attempt('LogN(1,5)', 13);
  Attempt('LogN(1,1)', 14);
  Attempt('LogN(-2,5)', 15);
  Attempt('LogN(0,5)', 16);
  Attempt('Cotan(0)', 17);
  Attempt('Sinh(1000)', 18);
  Attempt('Sinh(-1000)', 19);
  Attempt('Cosh(1000)', 20);
  Attempt('Exp(1000)', 21);
  Attempt('Power(0,-1)', 22);
  Attempt('Ln(0)', 23);
  Attempt('Sqrt(-0.5)', 24);
end.
