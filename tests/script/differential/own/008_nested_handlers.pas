// Every named handler keeps its own variable while the handlers nested in its body run, whatever
// mix of bare and named handlers surrounds it, in the main program and in routines.
var i: Integer;
procedure P(n: Integer);
begin
  try
    raise Exception.Create(IntToStr(n));
  except
    try
      raise Exception.Create('x');
    except
      on E: Exception do
      begin
        if n > 0 then P(n - 1);
        Print(E.Message + IntToStr(n) + ' ');
      end;
    end;
  end;
end;
begin
  // bare inside named
  try
    raise Exception.Create('a');
  except
    on E: Exception do
    begin
      try raise Exception.Create('b'); except Print('bare '); end;
      PrintLn(E.Message);
    end;
  end;
  // named inside named, the inner one shadowing the name
  try
    raise Exception.Create('a');
  except
    on E: Exception do
    begin
      try raise Exception.Create('b'); except on E: Exception do Print(E.Message); end;
      PrintLn(E.Message);
    end;
  end;
  // named, bare, named; each outer variable still readable afterwards
  try
    raise Exception.Create('1');
  except
    on A: Exception do
    begin
      try
        raise Exception.Create('2');
      except
        try raise Exception.Create('3'); except on C: Exception do Print(C.Message + A.Message); end;
        Print(A.Message);
      end;
      PrintLn(A.Message);
    end;
  end;
  // in the else part of a handler list
  try
    raise EConvertError.Create('a');
  except
    on E: EZeroDivide do PrintLn('no');
  else
    try raise Exception.Create('b'); except on F: Exception do PrintLn(F.Message); end;
  end;
  // inside a routine, called from a handler of the main program and recursing from its own
  try
    raise Exception.Create('m');
  except
    on M: Exception do
    begin
      P(1);
      PrintLn(M.Message);
    end;
  end;
  // a handler that raises anew, caught by a named handler around it, entered again by a loop
  for i := 1 to 2 do
    try
      try
        raise Exception.Create(IntToStr(i));
      except
        on E: Exception do raise Exception.Create(E.Message);
      end;
    except
      on F: Exception do
        try raise Exception.Create('r'); except on G: Exception do Print(F.Message + G.Message); end;
    end;
  PrintLn('');
end.
