var x, zero: Float;
begin
  zero := 0;
  x := 1;
  try
    x := x / zero;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('1/0.0 raised');
  end;
  x := -1;
  try
    x := x / zero;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('-1/0.0 raised');
  end;
  x := 0;
  try
    x := x / zero;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('0/0.0 raised');
  end;
  Print('x unchanged='); PrintLn(x);
end.
